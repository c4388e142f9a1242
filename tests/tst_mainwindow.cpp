// The main window: its menus, About box and quitting, and the article list's columns.
#include "app/vxmainwindow.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

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

    void menusAboutBoxAndQuit() {
        QString menus;
        QHash<QString, QAction*> actions;
        for (const QAction* m : window->menuBar()->actions()) {
            menus += " | " + m->text() + ":";
            for (QAction* a : m->menu()->actions()) {
                actions[a->text()] = a;
                menus += " " + (a->isSeparator() ? "---" : a->text() + a->shortcut().toString());
            }
        }
        // The entries have no shortcuts.
        QCOMPARE(
            menus,
            QStringLiteral(
                " | &Katalog: Öffnen Entpacken --- &Beenden | &Bestelliste: Drucken Exportiere "
                "Text-Datei Exportiere HTML-Datei Exportiere CSV-Datei Importiere CSV-Datei | &Info: Über"));
        QString text;
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            text = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        actions["Über"]->trigger();
        QCOMPARE(text.section('\n', 0, 3),
                 QStringLiteral("Über Vendrix|Vendrix v1.0\nEin OpenSource-Viewer für "
                                "den elektronischen\nKatalog von Korvel electronics.\n"));
        QVERIFY(!text.section('\n', 4, 4).isEmpty() && !text.section('\n', 5).isEmpty());
        // With an article ordered, closing the window and "Beenden" ask first; "Nein" (also Escape) keeps
        // the window, the catalog and the order as they were.
        CatalogWriter w;
        w.category("A", "A").subCategory("A01", "A").subSubCategory("A0101", "A");
        w.article("A0101", "R").tiers({{1, 100}});
        QTemporaryDir temp;
        QVERIFY(w.writeTo(temp.path()));
        auto* view = window->findChild<vxCentralWidget*>();
        view->openCatalog(temp.path());
        QVERIFY(orderFromGroup(view, 0, 0, 0, "R", "3"));
        const auto count = [this] { return window->findChild<QLineEdit*>("leOrderCount")->text(); };
        QStringList questions;
        for (const bool escape : {true, false}) {
            answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
                questions << box->windowTitle() + "|" + box->text();
                escape ? QTest::keyClick(box, Qt::Key_Escape) : box->defaultButton()->click();
            });
            escape ? void(window->close()) : actions["&Beenden"]->trigger();
            QVERIFY(window->isVisible() && count() == "1" && view->currentCatalog().size() == 1);
        }
        QCOMPARE(questions,
                 QStringList(2, "Vendrix|Es sind 1 Artikel bestellt. Beim Beenden geht die Bestellliste "
                                "verloren. Trotzdem beenden?"));
        // "Beenden", answered "Ja", ends the program with status 0.
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        answerNextModalOf<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        QTimer::singleShot(0, [&] { actions["&Beenden"]->trigger(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!window->isVisible());
    }

    // Columns widen to their texts (a burst of rows measured from its first) and never narrow by themselves.
    void columnsGrowToTheirTextsAndStay() {
        auto* list = window->findChild<QTreeView*>("lvParts");
        QStringList titles;
        const QAbstractItemModel* model = list->model();
        for (int i = 0; i < model->columnCount(); ++i)
            titles << model->headerData(i, Qt::Horizontal).toString() + (list->isColumnHidden(i) ? "-" : "");
        QCOMPARE(titles.join(' '),
                 "Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- SC- SSC- A-");
        QCOMPARE(model->headerData(ColumnPrice, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(
            model->headerData(ColumnStatus, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignCenter);
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >=
                    metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()));
        // The first group holds a long name and description, the second only a short name.
        const std::string description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, gegurtet";
        CatalogWriter w;
        w.category("A", "A").subCategory("A01", "A").subSubCategory("A0101", "lang");
        w.subSubCategory("A0102", "kurz");
        w.article("A0101", "Kohleschichtwiderstand X").describe(description);
        w.article("A0101", "R").describe(description);
        w.article("A0102", "R");
        QTemporaryDir temp;
        QVERIFY(w.writeTo(temp.path()));
        auto* view = window->findChild<vxCentralWidget*>();
        view->openCatalog(temp.path());
        QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
        QVERIFY(list->columnWidth(ColumnDescription) >= metrics.horizontalAdvance(description.c_str()));
        list->setColumnWidth(ColumnPackingUnit, 300);
        const int nameWidth = list->columnWidth(ColumnName);
        QVERIFY(chooseEntry(window->findChild<QComboBox*>("cbSubSubCategory"), 1));
        QCOMPARE(columnTexts(list, ColumnName), QStringList{"R"});
        QTest::qWait(50);
        QCOMPARE(list->columnWidth(ColumnName), nameWidth);
        QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
