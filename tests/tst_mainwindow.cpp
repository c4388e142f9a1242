// The main window: its menus, About box and quitting, and the article list's columns.
#include "app/vxmainwindow.h"
#include "catalog/articleitem.h"
#include "support/modal.h"

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
        QCOMPARE(menus, QStringLiteral(
                            " | &Katalog: Öffnen Entpacken --- &Beenden | &Bestelliste: Drucken Exportiere "
                            "Text-Datei Exportiere HTML-Datei | &Info: Über"));
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
        // "Beenden" ends the program with status 0.
        QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
        QTimer::singleShot(0, [&] { actions["&Beenden"]->trigger(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!window->isVisible());
    }

    // Columns widen to their texts (a burst of rows measured from its first) and never narrow by themselves.
    void columnsGrowToTheirTextsAndStay() {
        auto* list = window->findChild<QTreeWidget*>("lvParts");
        QStringList titles;
        for (int i = 0; i < list->columnCount(); ++i)
            titles << list->headerItem()->text(i) + (list->isColumnHidden(i) ? "-" : "");
        QCOMPARE(titles.join(' '),
                 "Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- SC- SSC- A-");
        QCOMPARE(list->headerItem()->textAlignment(ColumnPrice), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->headerItem()->textAlignment(ColumnStatus), int(Qt::AlignCenter));
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >= metrics.horizontalAdvance(list->headerItem()->text(c)));
        Article article{"",
                        "Kohleschichtwiderstand X",
                        "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, gegurtet",
                        "",
                        0,
                        0,
                        0,
                        0,
                        0,
                        {}};
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
