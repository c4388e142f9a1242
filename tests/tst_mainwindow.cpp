// The main window, its menus and the widget tree of the browsing screen.
#include "app/vxmainwindow.h"
#include "support/modal.h"
#include "ui/vxcentralwidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace vxtest;

namespace {
QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("---") : action->text());
        if (!action->shortcut().isEmpty())
            texts << QStringLiteral("shortcut!");
    }
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

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensAt600x450WithThreeMenus() {
        vxMainWindow window;
        showLikeMain(window);
        QCOMPARE(window.objectName(), QStringLiteral("vxMainWindow"));
        QCOMPARE(window.size(), QSize(600, 450));
        QVERIFY(window.findChild<vxCentralWidget*>(QStringLiteral("view")));
        QStringList titles;
        for (QAction* a : window.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"&Katalog", "&Bestelliste", "&Info"}));
        const auto menus = window.menuBar()->actions();
        QCOMPARE(actionTexts(menus[0]->menu()), (QStringList{"Öffnen", "Entpacken", "---", "&Beenden"}));
        QCOMPARE(actionTexts(menus[1]->menu()),
                 (QStringList{"Drucken", "Exportiere Text-Datei", "Exportiere HTML-Datei"}));
        QCOMPARE(actionTexts(menus[2]->menu()), (QStringList{"Über"}));
    }

    void aboutBoxShowsFiveLines() {
        vxMainWindow window;
        showLikeMain(window);
        QString caption, text;
        answerNextModal([&](QWidget* w) {
            caption = w->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(w))
                text = box->text();
            qobject_cast<QDialog*>(w)->accept();
        });
        findAction(&window, QStringLiteral("Über"))->trigger();
        QCOMPARE(caption, QStringLiteral("Über Vendrix"));
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.mid(0, 3), (QStringList{"Vendrix v1.0", "Ein OpenSource-Viewer für den elektronischen",
                                               "Katalog von Korvel electronics."}));
        QVERIFY(lines[3].isEmpty());
        QVERIFY(!lines[4].isEmpty() && !lines[5].isEmpty());
    }

    void quitEndsEventLoopWithZero() {
        auto* window = new vxMainWindow;
        showLikeMain(*window);
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        QTimer::singleShot(0, window, [window] { findAction(window, QStringLiteral("&Beenden"))->trigger(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!window->isVisible());
        delete window;

        auto* second = new vxMainWindow;
        showLikeMain(*second);
        QTimer::singleShot(0, second, [second] { second->close(); });
        QCOMPARE(qApp->exec(), 0);
        delete second;
    }

    void widgetTreeAndInitialState() {
        vxCentralWidget view;
        struct Box {
            const char* name;
            const char* title;
        };
        for (const Box& b : {Box{"gbCategory", "Warenhauptgruppe"}, Box{"gbSubCategory", "Warenobergruppe"},
                             Box{"gbSubSubCategory", "Warengruppe"}, Box{"gbSearch", "Suchen"},
                             Box{"gbSearchString", "Nach"}, Box{"gbSearchIn", "In"}, Box{"gbOrder", "Bestellung"},
                             Box{"gbOrderCount", "Bisher bestellte Artikel"},
                             Box{"gbOrderSum", "Summe (ohne Verpackung/Versand)"}, Box{"gbOrderSumNetto", "Netto"},
                             Box{"gbOrderSumBrutto", "Brutto"}}) {
            auto* box = view.findChild<QGroupBox*>(QLatin1String(b.name));
            QVERIFY2(box, b.name);
            QCOMPARE(box->title(), QString::fromUtf8(b.title));
        }
        for (const char* name : {"split", "vbLeft", "vbLUpper", "vbLLower", "vbLSearch"})
            QVERIFY2(view.findChild<QWidget*>(QLatin1String(name)), name);

        for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"}) {
            auto* box = view.findChild<QComboBox*>(QLatin1String(name));
            QVERIFY2(box && box->count() == 0 && box->isEnabled() && !box->isEditable(), name);
        }
        for (const char* name : {"leSearch", "leOrderCount", "leOrderSumNetto", "leOrderSumBrutto"}) {
            auto* edit = view.findChild<QLineEdit*>(QLatin1String(name));
            QVERIFY2(edit && edit->text().isEmpty() && !edit->isReadOnly(), name);
        }
        struct Check {
            const char* name;
            const char* text;
            bool checked;
        };
        for (const Check& c : {Check{"cbName", "Artikelname", true}, Check{"cbDescription", "Beschreibung", true},
                               Check{"cbOtherNames", "Weitere Namen", true},
                               Check{"cbCaseSensitive", "Groß-/Kleinschreibung beachten", false}}) {
            auto* box = view.findChild<QCheckBox*>(QLatin1String(c.name));
            QVERIFY2(box, c.name);
            QCOMPARE(box->text(), QString::fromUtf8(c.text));
            QCOMPARE(box->isChecked(), c.checked);
        }
        QCOMPARE(view.findChild<QPushButton*>("pbSearch")->text(), QStringLiteral("Suche starten"));
        QCOMPARE(view.findChild<QPushButton*>("pbOrderList")->text(), QStringLiteral("Bestellliste"));

        // The sum boxes stand side by side, the search box stacks its four children.
        auto* sum = view.findChild<QGroupBox*>("gbOrderSum");
        auto* grid = qobject_cast<QGridLayout*>(sum->layout());
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 2);
        auto* searchGrid = qobject_cast<QGridLayout*>(view.findChild<QGroupBox*>("gbSearch")->layout());
        QCOMPARE(searchGrid->rowCount(), 4);
        QCOMPARE(searchGrid->columnCount(), 1);
    }

    void listColumnsAndContextMenu() {
        vxCentralWidget view;
        auto* list = view.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        QVERIFY(list);
        QCOMPARE(list->columnCount(), 11);
        const QStringList titles{"Artikel", "VPE",  "Menge", "Preis", "Status", "Beschreibung",
                                 "Weitere Namen", "C",  "SC",    "SSC",   "A"};
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(list->headerItem()->text(i), titles[i]);
            QCOMPARE(list->isColumnHidden(i), i >= 7);
        }
        QVERIFY(list->isSortingEnabled());
        QCOMPARE(list->sortColumn(), 0);
        QVERIFY(!list->rootIsDecorated());
        QVERIFY(list->allColumnsShowFocus());
        QCOMPARE(list->headerItem()->textAlignment(3), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->headerItem()->textAlignment(4), int(Qt::AlignCenter));

        auto* menu = view.findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(actionTexts(menu), (QStringList{"Bestellen", "Info", "---", "Abbestellen", "Alle abbestellen"}));
    }

    void rightClickOpensMenuOnlyOnRows() {
        vxCentralWidget view;
        view.resize(600, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* list = view.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        auto* menu = view.findChild<QMenu*>();
        emit list->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(!menu->isVisible());

        auto* row = new QTreeWidgetItem(QStringList{"Widerstand"});
        list->addTopLevelItem(row);
        const QPoint onRow = list->visualItemRect(row).center();
        emit list->customContextMenuRequested(onRow);
        QTRY_VERIFY(menu->isVisible());
        // "Bestellen" comes up under the pointer.
        const QPoint pointer = list->viewport()->mapToGlobal(onRow);
        QVERIFY(menu->actionGeometry(menu->actions().constFirst()).contains(menu->mapFromGlobal(pointer)));
        menu->close();
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
