// The three selectors, the article list they fill and the double-click jump back to an article's group.
#include "catalog/articleitem.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {

// Names are listed out of alphabetical order, so that the list's sorting shows.
CatalogWriter browsingCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").category("C", "Leer");
    w.subCategory("A01", latin1("Widerstände")).subCategory("A02", "Kondensatoren");
    w.subCategory("A03", "Ohne Gruppen").subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kohleschicht").subSubCategory("A0102", "Metallfilm");
    w.subSubCategory("A0103", "Ohne Artikel")
        .subSubCategory("A0201", "Keramik")
        .subSubCategory("B0101", "Schneiden");
    for (const char* name : {"Widerstand 4,7k", "Widerstand 10k", "Widerstand 1k", "Widerstand 220R"})
        w.article("A0101", name);
    w.article("A0102", "Metallfilm 100R");
    w.article("A0201", "Kondensator 100nF");
    w.article("A0201", "Kondensator 10nF");
    w.article("B0101", "Seitenschneider");
    w.article("B0101", "Abisolierzange");
    return w;
}

// What the screen shows: upper groups, groups and rows, the current entries marked with '*'.
struct Shown {
    QStringList uppers, groups, rows;
};
const Shown carbon{{QStringLiteral("*Widerstände"), "Kondensatoren", "Ohne Gruppen"},
                   {"*Kohleschicht", "Metallfilm", "Ohne Artikel"},
                   {"Widerstand 10k", "Widerstand 1k", "Widerstand 220R", "Widerstand 4,7k"}};
const Shown capacitors{{QStringLiteral("Widerstände"), "*Kondensatoren", "Ohne Gruppen"},
                       {"*Keramik"},
                       {"Kondensator 100nF", "Kondensator 10nF"}};
const Shown pliers{{"*Zangen"}, {"*Schneiden"}, {"Abisolierzange", "Seitenschneider"}};

} // namespace
Q_DECLARE_METATYPE(Shown)

class tst_Navigation : public QObject {
    Q_OBJECT

    ViewFixture f;

    void verifyShown(const Shown& want) {
        QCOMPARE(markedEntries(f.selector(1)), want.uppers);
        QCOMPARE(markedEntries(f.selector(2)), want.groups);
        QCOMPARE(f.rowNames(), want.rows);
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }

private slots:
    void init() {
        f.reset();
        // Wide enough that the middle of a row, where the helpers click, lies inside the list.
        f.view->resize(900, 500);
        QVERIFY(f.open(browsingCatalog()));
    }

    void cascade_data() {
        // One after the other: "<selector level> <entry>", "search <text>" or "order list".
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<Shown>("shown");
        const Shown carbonMetal{
            carbon.uppers, {"Kohleschicht", "*Metallfilm", "Ohne Artikel"}, {"Metallfilm 100R"}};
        const Shown carbonEmpty{carbon.uppers, {"Kohleschicht", "Metallfilm", "*Ohne Artikel"}, {}};
        const Shown noGroups{{QStringLiteral("Widerstände"), "Kondensatoren", "*Ohne Gruppen"}, {}, {}};
        QTest::newRow("opened") << QStringList() << carbon;
        QTest::newRow("main group") << QStringList{"0 1"} << pliers;
        QTest::newRow("upper group") << QStringList{"1 1"} << capacitors;
        QTest::newRow("group") << QStringList{"2 1"} << carbonMetal;
        QTest::newRow("group without articles") << QStringList{"2 2"} << carbonEmpty;
        QTest::newRow("upper group without groups") << QStringList{"1 2"} << noGroups;
        QTest::newRow("main group without upper groups") << QStringList{"0 2"} << Shown();
        QTest::newRow("same main group again") << QStringList{"1 1", "0 0"} << carbon;
        QTest::newRow("same upper group again") << QStringList{"2 1", "1 0"} << carbon;
        QTest::newRow("back from an empty main group") << QStringList{"0 2", "0 0"} << carbon;
        QTest::newRow("upper group after an empty one") << QStringList{"1 2", "1 1"} << capacitors;
        QTest::newRow("main group after a search") << QStringList{"search k", "0 0"} << carbon;
        QTest::newRow("main group after the order list") << QStringList{"order list", "0 1"} << pliers;
    }
    void cascade() {
        QFETCH(QStringList, choices);
        QFETCH(Shown, shown);
        QSignalSpy inserted(f.list()->model(), &QAbstractItemModel::rowsInserted);
        for (const QString& choice : choices) {
            inserted.clear();
            const QStringList parts = choice.split(' ');
            if (parts[0] == QLatin1String("search"))
                f.search(parts[1]);
            else if (choice == QLatin1String("order list"))
                QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton);
            else
                QVERIFY2(chooseEntry(f.selector(parts[0].toInt()), parts[1].toInt()), qPrintable(choice));
        }
        verifyShown(shown);
        // A group's rows arrive in one insertion, not one by one.
        QVERIFY(inserted.size() <= 1);
        QVERIFY(f.selector(1)->isEnabled() && f.selector(2)->isEnabled());
    }

    // No user can choose these; the slots must still cope with whatever activated() carries.
    void invalidIndices_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("cleared");
        for (int level : {0, 1, 2})
            QTest::addRow("level %d: -1", level) << level << -1 << true;
        QTest::newRow("upper group past the end") << 1 << 3 << true;
        QTest::newRow("upper group far past the end") << 1 << INT_MAX << true;
        QTest::newRow("group past the end") << 2 << 3 << true;
        QTest::newRow("main group past the end") << 0 << 99 << false;
    }
    void invalidIndices() {
        QFETCH(int, level);
        QFETCH(int, index);
        QFETCH(bool, cleared);
        emit f.selector(level)->activated(index);
        QCOMPARE(f.selector(0)->currentIndex(), 0);
        verifyShown({carbon.uppers, carbon.groups, cleared ? QStringList() : carbon.rows});
    }

    // The entries "Suche" and "Bestellliste" are known by their text: main groups of those names behave the
    // same.
    void specialEntryNames_data() {
        QTest::addColumn<int>("mainGroup");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<int>("entryAfter");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("messages");
        // Entries: Bauelemente, Suche, Bestellliste, then the special Suche (3) and Bestellliste (4).
        QTest::newRow("Suche") << 1 << "zange|10k" << 3 << QStringList{"Widerstand 10k", "Zange"}
                               << QStringList();
        QTest::newRow("Suche, blank text")
            << 1 << "  " << 1 << QStringList() << QStringList{"Geben Sie bitte einen Suchstring ein!"};
        QTest::newRow("Bestellliste") << 2 << "zange" << 4 << QStringList() << QStringList();
    }
    void specialEntryNames() {
        QFETCH(int, mainGroup);
        QFETCH(QString, searchText);
        QFETCH(int, entryAfter);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, messages);
        CatalogWriter w;
        w.category("A", "Bauelemente").category("B", "Suche").category("C", "Bestellliste");
        w.subCategory("A01", "Passiv").subCategory("B01", "Werkzeug").subCategory("C01", "Lager");
        w.subSubCategory("A0101", "Widerstand")
            .subSubCategory("B0101", "Zangen")
            .subSubCategory("C0101", "Kisten");
        w.article("A0101", "Widerstand 10k");
        w.article("B0101", "Zange");
        w.article("C0101", "Kiste");
        QVERIFY(f.open(w, "special"));
        f.child<QLineEdit>("leSearch")->setText(searchText);
        MessageBoxCatcher boxes;
        QVERIFY(chooseEntry(f.selector(0), mainGroup));
        QCOMPARE(boxes.texts(), messages);
        QCOMPARE(f.selector(0)->currentIndex(), entryAfter);
        QCOMPARE(f.rowNames(), rows);
        QVERIFY(!f.selector(1)->isEnabled() && !f.selector(2)->isEnabled());
    }

    // A double click in the search results or the order list shows the article's group with its row selected;
    // in a group view it changes nothing.
    void jumpToGroup_data() {
        QTest::addColumn<bool>("fromOrderList");
        QTest::addColumn<QString>("article");
        QTest::addColumn<int>("mainGroup");
        QTest::addColumn<Shown>("shown");
        for (bool fromOrderList : {false, true}) {
            const QByteArray from = fromOrderList ? "order list: " : "search: ";
            // Article index 2, shown as the second row: the row is found by its index, not its position.
            QTest::newRow(from + "first group") << fromOrderList << "Widerstand 1k" << 0 << carbon;
            QTest::newRow(from + "second upper group")
                << fromOrderList << "Kondensator 10nF" << 0 << capacitors;
            QTest::newRow(from + "second main group") << fromOrderList << "Seitenschneider" << 1 << pliers;
        }
    }
    void jumpToGroup() {
        QFETCH(bool, fromOrderList);
        QFETCH(QString, article);
        QFETCH(int, mainGroup);
        QFETCH(Shown, shown);
        if (fromOrderList) {
            QVERIFY(f.order(0, 0, 0, "Widerstand 1k", "1"));
            QVERIFY(f.order(0, 1, 0, "Kondensator 10nF", "1"));
            QVERIFY(f.order(1, 0, 0, "Seitenschneider", "1"));
            QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton);
        } else {
            f.search(QStringLiteral("1k|10nF|schneider"));
        }
        QCOMPARE(f.selector(0)->currentText(), QLatin1String(fromOrderList ? "Bestellliste" : "Suche"));
        QCOMPARE(f.rowNames(), (QStringList{"Kondensator 10nF", "Seitenschneider", "Widerstand 1k"}));

        doubleClickRow(f.list(), rowNamed(f.list(), article));
        QCOMPARE(f.selector(0)->currentIndex(), mainGroup);
        verifyShown(shown);
        QVERIFY(f.selector(1)->isEnabled() && f.selector(2)->isEnabled());
        const QList<QTreeWidgetItem*> selected = f.list()->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.constFirst()->text(ColumnName), article);

        QTreeWidgetItem* first = f.list()->topLevelItem(0);
        doubleClickRow(f.list(), rowNamed(f.list(), article));
        QCOMPARE(f.list()->topLevelItem(0), first);
        verifyShown(shown);
    }

    void withoutCatalog() {
        f.reset();
        for (int level : {0, 1, 2}) {
            emit f.selector(level)->activated(0);
            emit f.selector(level)->activated(-1);
        }
        QCOMPARE(f.list()->topLevelItemCount(), 0);
        QCOMPARE(f.selector(0)->count() + f.selector(1)->count(), 0);
        QVERIFY(f.selector(1)->isEnabled());
    }
};

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
