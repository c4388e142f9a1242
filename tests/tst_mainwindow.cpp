// The main window: its menus and About box, quitting, and the browsing screen's layout as the user sees it.
#include "app/vxmainwindow.h"
#include "catalog/articleitem.h"
#include "support/modal.h"
#include "ui/vxcentralwidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace vxtest;

namespace {
// Entry texts of a menu, "---" for separators; none has a shortcut.
QString entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("---")
                                        : action->text() + action->shortcut().toString());
    return texts.join(", ");
}

QAction* findAction(QWidget* window, const QString& text) {
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}
} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<vxMainWindow> window;

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
        QCOMPARE(window->size(), QSize(600, 450));
        QStringList menus;
        for (QAction* a : window->menuBar()->actions())
            menus << a->text() + ": " + entries(a->menu());
        QCOMPARE(menus, (QStringList{"&Katalog: Öffnen, Entpacken, ---, &Beenden",
                                     "&Bestelliste: Drucken, Exportiere Text-Datei, Exportiere HTML-Datei",
                                     "&Info: Über"}));
        QString caption, text;
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            box->accept();
        });
        findAction(window.get(), QStringLiteral("Über"))->trigger();
        QCOMPARE(caption, QStringLiteral("Über Vendrix"));
        QCOMPARE(text.section('\n', 0, 3),
                 QStringLiteral("Vendrix v1.0\nEin OpenSource-Viewer für den "
                                "elektronischen\nKatalog von Korvel electronics.\n"));
        QVERIFY(!text.section('\n', 4, 4).isEmpty() && !text.section('\n', 5).isEmpty());
    }

    void quitEndsEventLoopWithZero() {
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        QTimer::singleShot(0, [this] { findAction(window.get(), QStringLiteral("&Beenden"))->trigger(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!window->isVisible());
    }

    // Titles, texts and starting states the user reads, under the object names the other suites use.
    void controlsAndTheirStartingState() {
        QStringList shown;
        auto* view = window->findChild<vxCentralWidget*>(QStringLiteral("view"));
        for (const QGroupBox* box : view->findChildren<QGroupBox*>())
            shown << box->objectName() + " " + box->title();
        for (const QAbstractButton* b : view->findChildren<QAbstractButton*>())
            shown << b->objectName() + " " + b->text() +
                         (b->isCheckable() ? b->isChecked() ? " [x]" : " [ ]" : "");
        QCOMPARE(shown,
                 (QStringList{"gbCategory Warenhauptgruppe", "gbSubCategory Warenobergruppe",
                              "gbSubSubCategory Warengruppe", "gbSearch Suchen", "gbSearchString Nach",
                              "gbSearchIn In", "gbOrder Bestellung", "gbOrderCount Bisher bestellte Artikel",
                              "gbOrderSum Summe (ohne Verpackung/Versand)", "gbOrderSumNetto Netto",
                              "gbOrderSumBrutto Brutto", "cbName Artikelname [x]",
                              "cbDescription Beschreibung [x]", "cbOtherNames Weitere Namen [x]",
                              "cbCaseSensitive Groß-/Kleinschreibung beachten [ ]", "pbSearch Suche starten",
                              "pbOrderList Bestellliste"}));
        auto* list = view->findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        QStringList titles;
        for (int i = 0; i < list->columnCount(); ++i)
            titles << list->headerItem()->text(i) + (list->isColumnHidden(i) ? "-" : "");
        QCOMPARE(titles.join(' '),
                 QStringLiteral("Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- SC- "
                                "SSC- A-"));
        QCOMPARE(list->headerItem()->textAlignment(ColumnPrice), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->headerItem()->textAlignment(ColumnStatus), int(Qt::AlignCenter));
        QVERIFY(list->isSortingEnabled() && list->sortColumn() == ColumnName);
        QCOMPARE(entries(view->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly)),
                 QStringLiteral("Bestellen, Info, ---, Abbestellen, Alle abbestellen"));
    }

    // The left pane scrolls only vertically: at any font size its controls must fit its width, in their
    // order.
    void leftPaneFitsAtAnyFontSize_data() {
        QTest::addColumn<qreal>("pointSize");
        QTest::newRow("default") << qreal(0);
        QTest::newRow("large") << qreal(14);
    }
    void leftPaneFitsAtAnyFontSize() {
        QFETCH(qreal, pointSize);
        const QFont original = QApplication::font();
        QFont font = original;
        if (pointSize > 0)
            font.setPointSizeF(pointSize);
        QApplication::setFont(font);
        init();
        QApplication::setFont(original);
        QWidget* content = window->findChild<QScrollArea*>(QStringLiteral("saLeft"))->widget();
        QCOMPARE(content->objectName(), QStringLiteral("vbLeft"));
        QVERIFY2(content->width() <= content->parentWidget()->width(), "controls run under the right edge");
        for (const QWidget* w : content->findChildren<QWidget*>()) {
            if (!qobject_cast<const QGroupBox*>(w) && !qobject_cast<const QAbstractButton*>(w))
                continue;
            QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
            QVERIFY2(content->rect().contains(QRect(w->mapTo(content, QPoint(0, 0)), w->size())),
                     qPrintable(w->objectName()));
        }
        QVERIFY(window->findChild<QTreeWidget*>(QStringLiteral("lvParts"))->width() >= 150);
        const auto at = [this](const char* name) { return window->findChild<QWidget*>(name)->geometry(); };
        QCOMPARE(at("gbOrderSumNetto").top(), at("gbOrderSumBrutto").top());
        QVERIFY(at("gbOrderSumNetto").right() < at("gbOrderSumBrutto").left());
        QVERIFY(at("gbSearchString").bottom() < at("gbSearchIn").top());
        QVERIFY(at("gbSearchIn").bottom() < at("cbCaseSensitive").top());
        QVERIFY(at("cbCaseSensitive").bottom() < at("pbSearch").top());
    }

    // Columns widen to the texts they show and never narrow by themselves, so a width the user dragged stays.
    void columnsGrowToTheirTextsAndStay() {
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >= metrics.horizontalAdvance(list->headerItem()->text(c)));
        Article article;
        article.name = "Kohleschichtwiderstand X";
        article.description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, 250 mW, gegurtet auf Rolle";
        // Rows added in a burst are measured together, the first of them too.
        addArticleItem(list, article, IndexPath{});
        article.name = "R";
        addArticleItem(list, article, IndexPath{});
        QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
        QVERIFY(list->columnWidth(ColumnDescription) >=
                metrics.horizontalAdvance(QString::fromLatin1(article.description.c_str())));

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
