// The main window: its menus and About box, quitting, and the browsing screen's layout as the user sees it.
#include "app/vxmainwindow.h"
#include "catalog/articleitem.h"
#include "support/modal.h"
#include "ui/vxcentralwidget.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

namespace {
// Entry texts of a menu, "---" for separators; none has a shortcut.
QString entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("---") : a->text() + a->shortcut().toString());
    return texts.join(", ");
}
} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<vxMainWindow> window;
    QAction* action(const QString& text) const {
        for (QAction* a : window->findChildren<QAction*>())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    template <class T = QWidget> T* child(const char* name) const { return window->findChild<T*>(name); }

private slots:
    // Shown the way main() does.
    void init() {
        window = std::make_unique<vxMainWindow>();
        window->setWindowTitle(QStringLiteral("Vendrix"));
        window->resize(600, 450);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void menusAndAboutBox() {
        QStringList menus;
        for (QAction* a : window->menuBar()->actions())
            menus << a->text() + ": " + entries(a->menu());
        QCOMPARE(menus, (QStringList{"&Katalog: Öffnen, Entpacken, ---, &Beenden",
                                     "&Bestelliste: Drucken, Exportiere Text-Datei, Exportiere HTML-Datei",
                                     "&Info: Über"}));
        QString text;
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            text = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        action(QStringLiteral("Über"))->trigger();
        QCOMPARE(text.section('\n', 0, 3),
                 QStringLiteral("Über Vendrix|Vendrix v1.0\nEin OpenSource-Viewer für "
                                "den elektronischen\nKatalog von Korvel electronics.\n"));
        QVERIFY(!text.section('\n', 4, 4).isEmpty() && !text.section('\n', 5).isEmpty());
    }

    void quitEndsEventLoopWithZero() {
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        QTimer::singleShot(0, [this] { action(QStringLiteral("&Beenden"))->trigger(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!window->isVisible());
    }

    // Titles, texts and starting states the user reads, under the object names the other suites use.
    void controlsAndTheirStartingState() {
        QStringList shown;
        for (const QGroupBox* box : child("view")->findChildren<QGroupBox*>())
            shown << box->objectName() + " " + box->title();
        for (const QAbstractButton* b : child("view")->findChildren<QAbstractButton*>())
            shown << b->objectName() + " " + b->text() +
                         (!b->isCheckable() ? ""
                          : b->isChecked()  ? " [x]"
                                            : " [ ]");
        QCOMPARE(
            shown.join(", "),
            QStringLiteral("gbCategory Warenhauptgruppe, gbSubCategory Warenobergruppe, gbSubSubCategory "
                           "Warengruppe, gbSearch Suchen, gbSearchString Nach, gbSearchIn In, gbOrder "
                           "Bestellung, gbOrderCount Bisher bestellte Artikel, gbOrderSum Summe (ohne "
                           "Verpackung/Versand), gbOrderSumNetto Netto, gbOrderSumBrutto Brutto, cbName "
                           "Artikelname [x], cbDescription Beschreibung [x], cbOtherNames Weitere Namen [x], "
                           "cbCaseSensitive Groß-/Kleinschreibung beachten [ ], pbSearch Suche starten, "
                           "pbOrderList Bestellliste"));
        auto* list = child<QTreeWidget>("lvParts");
        QStringList titles;
        for (int i = 0; i < list->columnCount(); ++i)
            titles << list->headerItem()->text(i) + (list->isColumnHidden(i) ? "-" : "");
        QCOMPARE(titles.join(' '),
                 QStringLiteral("Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- "
                                "SC- SSC- A-"));
        QCOMPARE(list->headerItem()->textAlignment(ColumnPrice), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->headerItem()->textAlignment(ColumnStatus), int(Qt::AlignCenter));
        QVERIFY(list->isSortingEnabled() && list->sortColumn() == ColumnName);
        QCOMPARE(entries(child("view")->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly)),
                 QStringLiteral("Bestellen, Info, ---, Abbestellen, Alle abbestellen"));
    }

    // The left pane scrolls only vertically: with a large font its controls must still fit its width, in
    // their order.
    void leftPaneFitsWithLargeFont() {
        const QFont original = QApplication::font();
        QApplication::setFont(QFont(original.family(), 14));
        init();
        QApplication::setFont(original);
        QWidget* content = child<QScrollArea>("saLeft")->widget();
        QVERIFY2(content->width() <= content->parentWidget()->width(), "controls run under the right edge");
        for (const QWidget* w : content->findChildren<QWidget*>())
            if (qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractButton*>(w))
                QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                             content->rect().contains(QRect(w->mapTo(content, QPoint(0, 0)), w->size())),
                         qPrintable(w->objectName()));
        QVERIFY(child("lvParts")->width() >= 150);
        const auto at = [this](const char* name) { return child(name)->geometry(); };
        QVERIFY(at("gbOrderSumNetto").top() == at("gbOrderSumBrutto").top() &&
                at("gbOrderSumNetto").right() < at("gbOrderSumBrutto").left());
        QVERIFY(at("gbSearchString").bottom() < at("gbSearchIn").top() &&
                at("gbSearchIn").bottom() < at("cbCaseSensitive").top() &&
                at("cbCaseSensitive").bottom() < at("pbSearch").top());
    }

    // Columns widen to the texts they show, rows added in a burst measured together, the first of them
    // too; they never narrow by themselves, so a width the user dragged stays.
    void columnsGrowToTheirTextsAndStay() {
        auto* list = child<QTreeWidget>("lvParts");
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >= metrics.horizontalAdvance(list->headerItem()->text(c)));
        Article article;
        article.name = "Kohleschichtwiderstand X";
        article.description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, 250 mW, gegurtet auf Rolle";
        addArticleItem(list, article, IndexPath{});
        article.name = "R";
        addArticleItem(list, article, IndexPath{});
        QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
        QVERIFY(list->columnWidth(ColumnDescription) >=
                metrics.horizontalAdvance(article.description.c_str()));
        list->setColumnWidth(ColumnPackingUnit, 300);
        const int nameWidth = list->columnWidth(ColumnName);
        list->clear();
        addArticleItem(list, article, IndexPath{});
        QTest::qWait(50);
        QCOMPARE(list->columnWidth(ColumnName), nameWidth);
        QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
