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
// Entry texts of a menu, "---" for separators; an entry with a shortcut is marked, as none should have one.
QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("---") : action->text()) +
                     (action->shortcut().isEmpty() ? QString() : QStringLiteral(" (shortcut)"));
    return texts;
}

QAction* findAction(QWidget* window, const QString& text) {
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

// Shows the window the way main() does.
void showLikeMain(vxMainWindow& window) {
    window.setWindowTitle(QStringLiteral("Vendrix"));
    window.resize(600, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}
} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void menusAndAboutBox() {
        vxMainWindow window;
        showLikeMain(window);
        QCOMPARE(window.size(), QSize(600, 450));
        QVERIFY(window.findChild<vxCentralWidget*>(QStringLiteral("view")));
        QStringList menus;
        for (QAction* a : window.menuBar()->actions())
            menus << a->text() + ": " + actionTexts(a->menu()).join(", ");
        QCOMPARE(menus, (QStringList{"&Katalog: Öffnen, Entpacken, ---, &Beenden",
                                     "&Bestelliste: Drucken, Exportiere Text-Datei, Exportiere HTML-Datei",
                                     "&Info: Über"}));

        QString caption, text;
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            box->accept();
        });
        findAction(&window, QStringLiteral("Über"))->trigger();
        QCOMPARE(caption, QStringLiteral("Über Vendrix"));
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.mid(0, 4), (QStringList{"Vendrix v1.0", "Ein OpenSource-Viewer für den elektronischen",
                                               "Katalog von Korvel electronics.", ""}));
        QVERIFY(!lines[4].isEmpty() && !lines[5].isEmpty());
    }

    void quitEndsEventLoopWithZero() {
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        for (bool fromMenu : {true, false}) {
            auto window = std::make_unique<vxMainWindow>();
            showLikeMain(*window);
            vxMainWindow* w = window.get();
            QTimer::singleShot(0, w, [w, fromMenu] {
                fromMenu ? findAction(w, QStringLiteral("&Beenden"))->trigger() : void(w->close());
            });
            QCOMPARE(qApp->exec(), 0);
            QVERIFY(!window->isVisible());
        }
    }

    // Titles, texts and starting states the user reads; the object names are the ones the other suites use.
    void controlsAndTheirStartingState() {
        vxCentralWidget view;
        QStringList boxes;
        for (const char* name : {"gbCategory", "gbSubCategory", "gbSubSubCategory", "gbSearch", "gbSearchString",
                                 "gbSearchIn", "gbOrder", "gbOrderCount", "gbOrderSum", "gbOrderSumNetto",
                                 "gbOrderSumBrutto"})
            boxes << view.findChild<QGroupBox*>(QLatin1String(name))->title();
        QCOMPARE(boxes, (QStringList{"Warenhauptgruppe", "Warenobergruppe", "Warengruppe", "Suchen", "Nach",
                                     "In", "Bestellung", "Bisher bestellte Artikel",
                                     "Summe (ohne Verpackung/Versand)", "Netto", "Brutto"}));
        QStringList checks;
        for (const char* name : {"cbName", "cbDescription", "cbOtherNames", "cbCaseSensitive"}) {
            auto* box = view.findChild<QCheckBox*>(QLatin1String(name));
            checks << box->text() + (box->isChecked() ? " [x]" : " [ ]");
        }
        QCOMPARE(checks, (QStringList{"Artikelname [x]", "Beschreibung [x]", "Weitere Namen [x]",
                                      "Groß-/Kleinschreibung beachten [ ]"}));
        QCOMPARE(view.findChild<QPushButton*>("pbSearch")->text(), QStringLiteral("Suche starten"));
        QCOMPARE(view.findChild<QPushButton*>("pbOrderList")->text(), QStringLiteral("Bestellliste"));

        auto* list = view.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        QStringList titles;
        for (int i = 0; i < list->columnCount(); ++i)
            titles << list->headerItem()->text(i) + (list->isColumnHidden(i) ? " (hidden)" : "");
        QCOMPARE(titles, (QStringList{"Artikel", "VPE", "Menge", "Preis", "Status", "Beschreibung",
                                      "Weitere Namen", "C (hidden)", "SC (hidden)", "SSC (hidden)",
                                      "A (hidden)"}));
        QCOMPARE(list->headerItem()->textAlignment(ColumnPrice), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->headerItem()->textAlignment(ColumnStatus), int(Qt::AlignCenter));
        QVERIFY(list->isSortingEnabled());
        QCOMPARE(list->sortColumn(), int(ColumnName));
        QCOMPARE(actionTexts(view.findChild<QMenu*>()),
                 (QStringList{"Bestellen", "Info", "---", "Abbestellen", "Alle abbestellen"}));
    }

    // Netto and Brutto side by side; the search box stacks its four parts.
    void groupBoxArrangement() {
        vxCentralWidget view;
        view.resize(600, 450);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto at = [&](const char* name) {
            return view.findChild<QWidget*>(QLatin1String(name))->geometry();
        };
        QCOMPARE(at("gbOrderSumNetto").top(), at("gbOrderSumBrutto").top());
        QVERIFY(at("gbOrderSumNetto").right() < at("gbOrderSumBrutto").left());
        QVERIFY(at("gbSearchString").bottom() < at("gbSearchIn").top());
        QVERIFY(at("gbSearchIn").bottom() < at("cbCaseSensitive").top());
        QVERIFY(at("cbCaseSensitive").bottom() < at("pbSearch").top());
    }

    // The left pane scrolls only vertically: at any font size its controls must fit its width.
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
        {
            vxMainWindow window;
            showLikeMain(window);
            QWidget* content = window.findChild<QScrollArea*>(QStringLiteral("saLeft"))->widget();
            QCOMPARE(content->objectName(), QStringLiteral("vbLeft"));
            QVERIFY2(content->width() <= content->parentWidget()->width(), "controls run under the right edge");
            for (const QWidget* w : content->findChildren<QWidget*>()) {
                if (!qobject_cast<const QGroupBox*>(w) && !qobject_cast<const QCheckBox*>(w) &&
                    !qobject_cast<const QPushButton*>(w))
                    continue;
                QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
                QVERIFY2(content->rect().contains(QRect(w->mapTo(content, QPoint(0, 0)), w->size())),
                         qPrintable(w->objectName()));
            }
            QVERIFY(window.findChild<QTreeWidget*>(QStringLiteral("lvParts"))->width() >= 150);
        }
        QApplication::setFont(original);
    }

    // Columns widen to the texts they show and never narrow by themselves, so a width the user dragged stays.
    void columnsGrowToTheirTextsAndStay() {
        vxCentralWidget view;
        view.resize(600, 450);
        view.show();
        auto* list = view.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >= metrics.horizontalAdvance(list->headerItem()->text(c)));

        Article article;
        article.name = "Kohleschichtwiderstand X";
        article.description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, 250 mW, gegurtet auf Rolle";
        addArticleItem(list, article, IndexPath{});
        QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
        QVERIFY(list->columnWidth(ColumnDescription) >=
                metrics.horizontalAdvance(QString::fromLatin1(article.description.c_str())));

        list->setColumnWidth(ColumnPackingUnit, 300);
        const int nameWidth = list->columnWidth(ColumnName);
        list->clear();
        article.name = "R";
        addArticleItem(list, article, IndexPath{});
        QTest::qWait(50);
        QCOMPARE(list->columnWidth(ColumnName), nameWidth);
        QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
