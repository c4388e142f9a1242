#include "catalog/articleitem.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/vxarticleinfodialog.h"
#include "ui/vxcentralwidget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {

// Two groups of passive parts and one of tools. The first group is what the list shows after opening.
CatalogWriter ordersCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug");
    w.subCategory("A01", "Passive").subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kondensatoren")
        .subSubCategory("A0102", latin1("Widerstände"))
        .subSubCategory("B0101", "Schneiden");
    // 12 units of 10 pieces at 2.142 per 100: gross 2.5704, net 2.21586...
    w.article("A0101", "Kondensator 100nF").numbers(1, 10, 1, 100).tiers({{1, 2380}, {10, 2142}});
    // At least 5 units; 500 units cost 145.00 gross.
    w.article("A0101", "Elko 47uF").numbers(2, 1, 1, 1).tiers({{5, 290}});
    // One unit: gross 1.004, net 0.86551...
    w.article("A0102", "Widerstand 4,7k").numbers(1, 1, 1, 1).tiers({{1, 1004}});
    w.article("A0102", "Widerstand 10k").numbers(1, 1, 1, 1).tiers({{1, 100}});
    w.article("B0101", "Seitenschneider").numbers(1, 1, 1, 1).tiers({{1, 12900}});
    return w;
}

struct Place {
    int c, s, ss;
};
const Place capacitors{0, 0, 0};
const Place resistors{0, 0, 1};

QImage iconImage(const QTreeWidgetItem* row) {
    return row->icon(ColumnName).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool showsCheckMark(const QTreeWidgetItem* row) {
    return iconImage(row) == orderedPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

int orderedArticles(const Catalog& catalog) {
    int n = 0;
    for (const Category& main : catalog)
        for (const SubCategory& upper : main.subCategories)
            for (const SubSubCategory& group : upper.subSubCategories)
                for (const Article& article : group.articles)
                    n += article.orderedUnits > 0 ? 1 : 0;
    return n;
}

// Name, units and price columns of every row, in the order the list shows them.
QStringList rowTexts(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        rows << row->text(ColumnName) + " | " + row->text(ColumnQuantity) + " | " + row->text(ColumnPrice);
    }
    return rows;
}

} // namespace

class tst_Orders : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void orderRefreshesOnlyItsRow_data();
    void orderRefreshesOnlyItsRow();
    void infoShowsTheChosenArticle();
    void changesInOrderListView_data();
    void changesInOrderListView();
    void disorderAll_data();
    void disorderAll();
    void orderListWithoutOrders_data();
    void orderListWithoutOrders();
    void totals_data();
    void totals();

private:
    QComboBox* combo(const char* name) { return view->findChild<QComboBox*>(QLatin1String(name)); }
    QLineEdit* field(const char* name) { return view->findChild<QLineEdit*>(QLatin1String(name)); }
    QTreeWidget* list() { return view->findChild<QTreeWidget*>(QStringLiteral("lvParts")); }
    QStringList orderFields() {
        return {field("leOrderCount")->text(), field("leOrderSumNetto")->text(),
                field("leOrderSumBrutto")->text()};
    }

    void openCatalog() {
        QVERIFY(ordersCatalog().writeTo(temp.path()));
        answerNextFileDialog(temp.path());
        view->slotOpenCatalog();
        QCOMPARE(orderFields(), QStringList({"0", "0.00", "0.00"}));
    }
    void choose(const QString& name, const QString& entry) {
        QTreeWidgetItem* row = rowNamed(list(), name);
        QVERIFY2(row, qPrintable(name));
        QVERIFY(chooseFromRowMenu(list(), row, entry));
    }
    void order(Place place, const QString& name, const QString& units) {
        QVERIFY2(orderFromGroup(view, place.c, place.s, place.ss, name, units), qPrintable(name));
    }
    void pressOrderList() { QTest::mouseClick(view->findChild<QPushButton*>("pbOrderList"), Qt::LeftButton); }

    vxCentralWidget* view = nullptr;
    QTemporaryDir temp;
};

void tst_Orders::init() {
    view = new vxCentralWidget;
    view->resize(900, 600);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
}

void tst_Orders::cleanup() {
    delete view;
    view = nullptr;
}

void tst_Orders::orderRefreshesOnlyItsRow_data() {
    QTest::addColumn<bool>("search");
    QTest::newRow("group view") << false;
    QTest::newRow("search results") << true;
}

void tst_Orders::orderRefreshesOnlyItsRow() {
    QFETCH(bool, search);
    openCatalog();
    if (search) {
        QTest::keyClicks(field("leSearch"), "Kondensator|Elko|Widerstand");
        QTest::mouseClick(view->findChild<QPushButton*>("pbSearch"), Qt::LeftButton);
    }
    const QString viewName = combo("cbCategory")->currentText();
    const int rows = list()->topLevelItemCount();
    QCOMPARE(rows, search ? 4 : 2);
    // A rewritten row gets its description back; the others keep this stand-in.
    for (int i = 0; i < rows; ++i)
        list()->topLevelItem(i)->setText(ColumnDescription, "unberührt");

    answerNextOrderDialog("12", true);
    choose("Kondensator 100nF", "Bestellen");
    QCOMPARE(orderFields(), QStringList({"1", "2.22", "2.57"}));
    QCOMPARE(combo("cbCategory")->currentText(), viewName);
    QCOMPARE(list()->topLevelItemCount(), rows);
    for (int i = 0; i < rows; ++i) {
        const QTreeWidgetItem* row = list()->topLevelItem(i);
        const bool ordered = row->text(ColumnName) == "Kondensator 100nF";
        QCOMPARE(showsCheckMark(row), ordered);
        QCOMPARE(row->text(ColumnDescription), ordered ? QString() : QString("unberührt"));
    }
    // Still a group row: the first tier's quantity and price, not the order's.
    const QTreeWidgetItem* ordered = rowNamed(list(), "Kondensator 100nF");
    QCOMPARE(ordered->text(ColumnQuantity), QString("1"));
    QCOMPARE(ordered->text(ColumnPrice), QString("0.24"));

    choose("Kondensator 100nF", "Abbestellen");
    QCOMPARE(orderFields(), QStringList({"0", "0.00", "0.00"}));
    QVERIFY(!showsCheckMark(rowNamed(list(), "Kondensator 100nF")));
    QCOMPARE(list()->topLevelItemCount(), rows);
    QCOMPARE(orderedArticles(view->currentCatalog()), 0);
}

void tst_Orders::infoShowsTheChosenArticle() {
    openCatalog();
    order(resistors, "Widerstand 4,7k", "1");
    QString shown;
    answerNextModalOf<vxArticleInfoDialog>([&shown](vxArticleInfoDialog* dialog) {
        shown = dialog->findChild<QTextBrowser*>("teArticleInfo")->toPlainText();
        dialog->accept();
    });
    choose("Widerstand 10k", "Info");
    QVERIFY2(shown.contains("Widerstand 10k"), qPrintable(shown));
    QVERIFY(!shown.contains("4,7k"));
    QCOMPARE(orderFields(), QStringList({"1", "0.87", "1.00"}));
    QCOMPARE(orderedArticles(view->currentCatalog()), 1);
}

void tst_Orders::changesInOrderListView_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("units"); // typed into the order dialog; null: the dialog is cancelled
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("fields");

    const QString capacitor = "Kondensator 100nF | 12 | 2.57";
    QTest::newRow("order accepted") << "Widerstand 4,7k"
                                    << "Bestellen"
                                    << "3" << QStringList({capacitor, "Widerstand 4,7k | 3 | 3.01"})
                                    << QStringList({"2", "4.81", "5.58"});
    QTest::newRow("order cancelled") << "Widerstand 4,7k"
                                     << "Bestellen" << QString()
                                     << QStringList({capacitor, "Widerstand 4,7k | 1 | 1.00"})
                                     << QStringList({"2", "3.08", "3.57"});
    QTest::newRow("unorder") << "Kondensator 100nF"
                             << "Abbestellen" << QString() << QStringList({"Widerstand 4,7k | 1 | 1.00"})
                             << QStringList({"1", "0.87", "1.00"});
}

void tst_Orders::changesInOrderListView() {
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QFETCH(QString, units);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, fields);
    openCatalog();
    order(capacitors, "Kondensator 100nF", "12");
    order(resistors, "Widerstand 4,7k", "1");
    pressOrderList();
    QCOMPARE(combo("cbCategory")->currentText(), QString("Bestellliste"));
    QCOMPARE(rowTexts(list()), QStringList({"Kondensator 100nF | 12 | 2.57", "Widerstand 4,7k | 1 | 1.00"}));

    // Neither row nor selector may stay as it is: the list is built anew and the lower selectors reset.
    for (const char* name : {"cbSubCategory", "cbSubSubCategory"})
        combo(name)->setCurrentIndex(0);
    for (int i = 0; i < list()->topLevelItemCount(); ++i)
        list()->topLevelItem(i)->setText(ColumnDescription, "alt");

    if (entry == "Bestellen")
        answerNextOrderDialog(units, !units.isNull());
    choose(name, entry);
    QCOMPARE(rowTexts(list()), rows);
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        QVERIFY(showsCheckMark(list()->topLevelItem(i)));
        QCOMPARE(list()->topLevelItem(i)->text(ColumnDescription), QString());
    }
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
        QCOMPARE(combo(name)->currentIndex(), combo(name)->count() - 1);
    QVERIFY(!combo("cbSubCategory")->isEnabled());
    QVERIFY(!combo("cbSubSubCategory")->isEnabled());
    QCOMPARE(orderFields(), fields);
}

void tst_Orders::disorderAll_data() {
    QTest::addColumn<bool>("orderList");
    QTest::newRow("group view") << false;
    QTest::newRow("order list view") << true;
}

void tst_Orders::disorderAll() {
    QFETCH(bool, orderList);
    openCatalog();
    order(resistors, "Widerstand 10k", "1");
    order(capacitors, "Elko 47uF", "5");
    order(capacitors, "Kondensator 100nF", "12");
    if (orderList)
        pressOrderList();
    QCOMPARE(list()->topLevelItemCount(), orderList ? 3 : 2);

    choose("Kondensator 100nF", "Alle abbestellen");
    QCOMPARE(orderedArticles(view->currentCatalog()), 0);
    QCOMPARE(orderFields(), QStringList({"0", "0.00", "0.00"}));
    if (orderList) {
        QCOMPARE(list()->topLevelItemCount(), 0);
        QCOMPARE(combo("cbCategory")->currentText(), QString("Bestellliste"));
    } else {
        QCOMPARE(rowTexts(list()), QStringList({"Elko 47uF | 5 | 1.45", "Kondensator 100nF | 1 | 0.24"}));
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            QVERIFY(!showsCheckMark(list()->topLevelItem(i)));
    }
}

void tst_Orders::orderListWithoutOrders_data() {
    QTest::addColumn<bool>("loaded");
    QTest::newRow("nothing ordered") << true;
    QTest::newRow("no catalog") << false;
}

void tst_Orders::orderListWithoutOrders() {
    QFETCH(bool, loaded);
    if (loaded)
        openCatalog();
    else
        new QTreeWidgetItem(list(), QStringList("übrig"));
    const QStringList fields =
        loaded ? QStringList({"0", "0.00", "0.00"}) : QStringList({"7", "1.23", "4.56"});
    field("leOrderCount")->setText(fields[0]);
    field("leOrderSumNetto")->setText(fields[1]);
    field("leOrderSumBrutto")->setText(fields[2]);

    pressOrderList();
    QCOMPARE(list()->topLevelItemCount(), 0);
    QVERIFY(!combo("cbSubCategory")->isEnabled());
    QVERIFY(!combo("cbSubSubCategory")->isEnabled());
    QCOMPARE(orderFields(), fields);
    if (loaded) {
        QCOMPARE(combo("cbCategory")->currentText(), QString("Bestellliste"));
        QCOMPARE(combo("cbSubCategory")->currentText(), QString("Passive"));
        QCOMPARE(combo("cbSubSubCategory")->currentText(), QString("Widerstände"));
    } else {
        for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
            QCOMPARE(combo(name)->count(), 0);
    }
}

void tst_Orders::totals_data() {
    QTest::addColumn<QStringList>("orders"); // article name = units typed
    QTest::addColumn<QStringList>("fields");
    // Rounded one by one the net amounts 2.22 and 0.87 would add up to 3.09.
    QTest::newRow("sums of unrounded amounts")
        << QStringList({"Kondensator 100nF=12", "Widerstand 4,7k=1"}) << QStringList({"2", "3.08", "3.57"});
    QTest::newRow("500 units are one article")
        << QStringList({"Elko 47uF=500"}) << QStringList({"1", "125.00", "145.00"});
    QTest::newRow("ordered again replaces")
        << QStringList({"Elko 47uF=500", "Elko 47uF=50"}) << QStringList({"1", "12.50", "14.50"});
}

void tst_Orders::totals() {
    QFETCH(QStringList, orders);
    QFETCH(QStringList, fields);
    openCatalog();
    for (const QString& item : orders) {
        const QString name = item.section('=', 0, 0);
        order(name.startsWith("Widerstand") ? resistors : capacitors, name, item.section('=', 1));
    }
    QCOMPARE(orderFields(), fields);
}

QTEST_MAIN(tst_Orders)
#include "tst_orders.moc"
