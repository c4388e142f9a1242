// The three selectors, the article list they fill and the double-click jump back to an article's group.
#include "catalog/articleitem.h"
#include "support/catalogwriter.h"
#include "support/viewfixture.h"
#include "support/modal.h"
#include "ui/vxcentralwidget.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {

// Names are listed out of alphabetical order, so that the list's sorting shows.
CatalogWriter browsingCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").category("C", "Leer");
    w.subCategory("A01", latin1("Widerstände"))
        .subCategory("A02", "Kondensatoren")
        .subCategory("A03", "Ohne Gruppen")
        .subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kohleschicht")
        .subSubCategory("A0102", "Metallfilm")
        .subSubCategory("A0103", "Ohne Artikel")
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

const QStringList carbonRows{"Widerstand 10k", "Widerstand 1k", "Widerstand 220R", "Widerstand 4,7k"};
const QStringList firstUppers{QStringLiteral("*Widerstände"), "Kondensatoren", "Ohne Gruppen"};
const QStringList firstGroups{"*Kohleschicht", "Metallfilm", "Ohne Artikel"};

} // namespace

class tst_Navigation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cascade_data();
    void cascade();
    void invalidIndices_data();
    void invalidIndices();
    void specialEntryNames_data();
    void specialEntryNames();
    void jumpToGroup_data();
    void jumpToGroup();
    void doubleClickInGroupView();
    void fillsInOneInsertion();
    void withoutCatalog();

private:
    QComboBox* combo(const char* name) { return view->findChild<QComboBox*>(QLatin1String(name)); }
    QTreeWidget* list() { return view->findChild<QTreeWidget*>(QStringLiteral("lvParts")); }
    QStringList rowNames() { return columnTexts(list(), ColumnName); }
    bool open(const CatalogWriter& writer, const QString& name) {
        const QString directory = temp.filePath(name);
        if (!writer.writeTo(directory))
            return false;
        answerNextFileDialog(directory);
        view->slotOpenCatalog();
        return !view->currentCatalog().empty();
    }
    void order(const QString& name);
    void typeSearchText(const QString& text) {
        auto* edit = view->findChild<QLineEdit*>(QStringLiteral("leSearch"));
        edit->clear();
        typeText(edit, text);
    }
    void search(const QString& text) {
        typeSearchText(text);
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("pbSearch")), Qt::LeftButton);
    }

    vxCentralWidget* view = nullptr;
    QTemporaryDir temp;
};

void tst_Navigation::init() {
    view = new vxCentralWidget;
    view->resize(900, 500);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
}

void tst_Navigation::cleanup() {
    delete view;
    view = nullptr;
}

// Orders one packing unit through the context menu and the order dialog.
void tst_Navigation::order(const QString& name) {
    QTreeWidgetItem* row = rowNamed(list(), name);
    QVERIFY2(row, qPrintable(name));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(row).center());
    answerNextModal(
        [](QWidget* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("pbOK"))->click(); });
    view->findChild<QMenu*>()->actions().constFirst()->trigger();
}

void tst_Navigation::cascade_data() {
    // One after the other: "selector index", "search text" or "order list".
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("uppers");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("opened") << QStringList() << firstUppers << firstGroups << carbonRows;
    QTest::newRow("main group") << QStringList{"cbCategory 1"} << QStringList{"*Zangen"}
                                << QStringList{"*Schneiden"}
                                << QStringList{"Abisolierzange", "Seitenschneider"};
    QTest::newRow("upper group") << QStringList{"cbSubCategory 1"}
                                 << QStringList{QStringLiteral("Widerstände"), "*Kondensatoren",
                                                "Ohne Gruppen"}
                                 << QStringList{"*Keramik"}
                                 << QStringList{"Kondensator 100nF", "Kondensator 10nF"};
    QTest::newRow("group") << QStringList{"cbSubSubCategory 1"} << firstUppers
                           << QStringList{"Kohleschicht", "*Metallfilm", "Ohne Artikel"}
                           << QStringList{"Metallfilm 100R"};
    QTest::newRow("group without articles")
        << QStringList{"cbSubSubCategory 2"} << firstUppers
        << QStringList{"Kohleschicht", "Metallfilm", "*Ohne Artikel"} << QStringList();
    QTest::newRow("upper group without groups")
        << QStringList{"cbSubCategory 2"}
        << QStringList{QStringLiteral("Widerstände"), "Kondensatoren", "*Ohne Gruppen"} << QStringList()
        << QStringList();
    QTest::newRow("main group without upper groups")
        << QStringList{"cbCategory 2"} << QStringList() << QStringList() << QStringList();
    QTest::newRow("same main group again")
        << QStringList{"cbSubCategory 1", "cbCategory 0"} << firstUppers << firstGroups << carbonRows;
    QTest::newRow("same upper group again")
        << QStringList{"cbSubSubCategory 1", "cbSubCategory 0"} << firstUppers << firstGroups << carbonRows;
    QTest::newRow("back from an empty main group")
        << QStringList{"cbCategory 2", "cbCategory 0"} << firstUppers << firstGroups << carbonRows;
    QTest::newRow("main group after a search")
        << QStringList{"search k", "cbCategory 0"} << firstUppers << firstGroups << carbonRows;
    QTest::newRow("main group after the order list")
        << QStringList{"order list", "cbCategory 1"} << QStringList{"*Zangen"} << QStringList{"*Schneiden"}
        << QStringList{"Abisolierzange", "Seitenschneider"};
    QTest::newRow("upper group after an empty one")
        << QStringList{"cbSubCategory 2", "cbSubCategory 1"}
        << QStringList{QStringLiteral("Widerstände"), "*Kondensatoren", "Ohne Gruppen"}
        << QStringList{"*Keramik"} << QStringList{"Kondensator 100nF", "Kondensator 10nF"};
}

void tst_Navigation::cascade() {
    QFETCH(QStringList, choices);
    QFETCH(QStringList, uppers);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, rows);
    QVERIFY(open(browsingCatalog(), "catalog"));
    for (const QString& choice : choices) {
        const QStringList parts = choice.split(' ');
        if (parts[0] == QLatin1String("search"))
            search(parts[1]);
        else if (choice == QLatin1String("order list"))
            QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("pbOrderList")), Qt::LeftButton);
        else
            QVERIFY2(chooseEntry(combo(qPrintable(parts[0])), parts[1].toInt()), qPrintable(choice));
    }
    QCOMPARE(markedEntries(combo("cbSubCategory")), uppers);
    QCOMPARE(markedEntries(combo("cbSubSubCategory")), groups);
    QCOMPARE(rowNames(), rows);
    QCOMPARE(rowsAgreeWithCatalog(list(), view->currentCatalog()), QString());
    QVERIFY(combo("cbSubCategory")->isEnabled());
    QVERIFY(combo("cbSubSubCategory")->isEnabled());
}

void tst_Navigation::invalidIndices_data() {
    // No user can choose these; the slots must still cope with whatever activated() carries.
    QTest::addColumn<QString>("selector");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("main group -1") << "cbCategory" << -1 << true;
    QTest::newRow("upper group -1") << "cbSubCategory" << -1 << true;
    QTest::newRow("group -1") << "cbSubSubCategory" << -1 << true;
    QTest::newRow("upper group past the end") << "cbSubCategory" << 3 << true;
    QTest::newRow("upper group far past the end") << "cbSubCategory" << INT_MAX << true;
    QTest::newRow("group past the end") << "cbSubSubCategory" << 3 << true;
    QTest::newRow("main group past the end") << "cbCategory" << 99 << false;
}

void tst_Navigation::invalidIndices() {
    QFETCH(QString, selector);
    QFETCH(int, index);
    QFETCH(bool, cleared);
    QVERIFY(open(browsingCatalog(), "catalog"));
    emit combo(qPrintable(selector))->activated(index);
    QCOMPARE(rowNames(), cleared ? QStringList() : carbonRows);
    QCOMPARE(combo("cbCategory")->currentIndex(), 0);
    QCOMPARE(markedEntries(combo("cbSubCategory")), firstUppers);
    QCOMPARE(markedEntries(combo("cbSubSubCategory")), firstGroups);
}

void tst_Navigation::specialEntryNames_data() {
    QTest::addColumn<int>("mainGroup");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<int>("categoryEntry");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("messages");
    // Entries: Bauelemente, Suche, Bestellliste, then the special Suche (3) and Bestellliste (4).
    QTest::newRow("main group Suche")
        << 1 << "zange|10k" << 3 << QStringList{"Widerstand 10k", "Zange"} << QStringList();
    QTest::newRow("main group Suche, blank text")
        << 1 << "  " << 1 << QStringList() << QStringList{"Geben Sie bitte einen Suchstring ein!"};
    QTest::newRow("main group Bestellliste") << 2 << "zange" << 4 << QStringList() << QStringList();
}

void tst_Navigation::specialEntryNames() {
    QFETCH(int, mainGroup);
    QFETCH(QString, searchText);
    QFETCH(int, categoryEntry);
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
    QVERIFY(open(w, "special"));
    QCOMPARE(rowNames(), QStringList{"Widerstand 10k"});
    typeSearchText(searchText);
    MessageBoxCatcher boxes;
    QVERIFY(chooseEntry(combo("cbCategory"), mainGroup));
    QCOMPARE(boxes.texts(), messages);
    QCOMPARE(combo("cbCategory")->currentIndex(), categoryEntry);
    QCOMPARE(rowNames(), rows);
    QVERIFY(!combo("cbSubCategory")->isEnabled());
    QVERIFY(!combo("cbSubSubCategory")->isEnabled());
}

void tst_Navigation::jumpToGroup_data() {
    QTest::addColumn<bool>("fromOrderList");
    QTest::addColumn<QString>("article");
    QTest::addColumn<int>("mainGroup");
    QTest::addColumn<QStringList>("uppers");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("rows");
    for (bool fromOrderList : {false, true}) {
        const QByteArray from = fromOrderList ? "order list: " : "search: ";
        // Article index 2, shown as the second row: the row is found by its index, not its position.
        QTest::newRow(from + "first group")
            << fromOrderList << "Widerstand 1k" << 0 << firstUppers << firstGroups << carbonRows;
        QTest::newRow(from + "second upper group")
            << fromOrderList << "Kondensator 10nF" << 0
            << QStringList{QStringLiteral("Widerstände"), "*Kondensatoren", "Ohne Gruppen"}
            << QStringList{"*Keramik"} << QStringList{"Kondensator 100nF", "Kondensator 10nF"};
        QTest::newRow(from + "second main group")
            << fromOrderList << "Seitenschneider" << 1 << QStringList{"*Zangen"} << QStringList{"*Schneiden"}
            << QStringList{"Abisolierzange", "Seitenschneider"};
    }
}

void tst_Navigation::jumpToGroup() {
    QFETCH(bool, fromOrderList);
    QFETCH(QString, article);
    QFETCH(int, mainGroup);
    QFETCH(QStringList, uppers);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, rows);
    QVERIFY(open(browsingCatalog(), "catalog"));
    const QStringList found{"Kondensator 10nF", "Seitenschneider", "Widerstand 1k"};
    if (fromOrderList) {
        order("Widerstand 1k");
        QVERIFY(chooseEntry(combo("cbSubCategory"), 1));
        order("Kondensator 10nF");
        QVERIFY(chooseEntry(combo("cbCategory"), 1));
        order("Seitenschneider");
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("pbOrderList")), Qt::LeftButton);
        QCOMPARE(combo("cbCategory")->currentText(), QStringLiteral("Bestellliste"));
    } else {
        search(QStringLiteral("1k|10nF|schneider"));
        QCOMPARE(combo("cbCategory")->currentText(), QStringLiteral("Suche"));
    }
    QCOMPARE(rowNames(), found);
    QVERIFY(!combo("cbSubCategory")->isEnabled());

    doubleClickRow(list(), rowNamed(list(), article));
    QCOMPARE(combo("cbCategory")->currentIndex(), mainGroup);
    QCOMPARE(markedEntries(combo("cbSubCategory")), uppers);
    QCOMPARE(markedEntries(combo("cbSubSubCategory")), groups);
    QVERIFY(combo("cbSubCategory")->isEnabled());
    QVERIFY(combo("cbSubSubCategory")->isEnabled());
    QCOMPARE(rowNames(), rows);
    QCOMPARE(rowsAgreeWithCatalog(list(), view->currentCatalog()), QString());
    const QList<QTreeWidgetItem*> selected = list()->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.constFirst()->text(ColumnName), article);
}

void tst_Navigation::doubleClickInGroupView() {
    QVERIFY(open(browsingCatalog(), "catalog"));
    QVERIFY(chooseEntry(combo("cbSubCategory"), 1));
    QList<QTreeWidgetItem*> before;
    for (int i = 0; i < list()->topLevelItemCount(); ++i)
        before << list()->topLevelItem(i);
    QCOMPARE(before.size(), 2);
    doubleClickRow(list(), before.constLast());
    QList<QTreeWidgetItem*> after;
    for (int i = 0; i < list()->topLevelItemCount(); ++i)
        after << list()->topLevelItem(i);
    QCOMPARE(after, before);
    QCOMPARE(combo("cbCategory")->currentIndex(), 0);
    QCOMPARE(combo("cbSubCategory")->currentIndex(), 1);
}

void tst_Navigation::fillsInOneInsertion() {
    QVERIFY(open(browsingCatalog(), "catalog"));
    QVERIFY(chooseEntry(combo("cbSubCategory"), 1));
    QSignalSpy inserted(list()->model(), &QAbstractItemModel::rowsInserted);
    QVERIFY(chooseEntry(combo("cbSubCategory"), 0));
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.constFirst().at(1).toInt(), 0);
    QCOMPARE(inserted.constFirst().at(2).toInt(), 3);
    QVERIFY(list()->isSortingEnabled());
    QCOMPARE(list()->header()->sortIndicatorSection(), int(ColumnName));
    QCOMPARE(list()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(rowNames(), carbonRows);
}

void tst_Navigation::withoutCatalog() {
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"}) {
        emit combo(name)->activated(0);
        emit combo(name)->activated(-1);
    }
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(combo("cbCategory")->count(), 0);
    QCOMPARE(combo("cbSubCategory")->count(), 0);
    QVERIFY(combo("cbSubCategory")->isEnabled());
}

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
