#include "catalog/articleitem.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/vxarticleinfodialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {
// Two groups of passive parts and one of tools; the first group shows after opening.
CatalogWriter ordersCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").subCategory("A01", "Passive");
    w.subCategory("B01", "Zangen").subSubCategory("A0101", "Kondensatoren");
    w.subSubCategory("A0102", latin1("Widerstände")).subSubCategory("B0101", "Schneiden");
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

// Every row as shown: check mark, name, units, price and description.
QStringList rowTexts(const QTreeWidget* list) {
    const auto image = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* r = list->topLevelItem(i);
        const bool checked = image(r->icon(ColumnName).pixmap(16, 16)) == image(orderedPixmap());
        rows << QString("%1%2 | %3 | %4 | %5")
                    .arg(checked ? "✓ " : "", r->text(ColumnName), r->text(ColumnQuantity),
                         r->text(ColumnPrice), r->text(ColumnDescription));
    }
    return rows;
}

// Ordered articles as the catalog itself has them, apart from the view's index of orders.
int orderedInCatalog(const Catalog& catalog) {
    int count = 0;
    double net = 0, gross = 0;
    for (const Category& category : catalog)
        category.sumOrders(count, net, gross);
    return count;
}
} // namespace

class tst_Orders : public QObject {
    Q_OBJECT

private slots:
    void init() {
        f.reset();
        f.view->resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QVERIFY(f.open(ordersCatalog()));
        QCOMPARE(fields(), "0 0.00 0.00");
    }
    void orderRefreshesOnlyItsRow_data();
    void orderRefreshesOnlyItsRow();
    void changesInOrderListView_data();
    void changesInOrderListView();
    void unorderAll_data();
    void unorderAll();
    void orderListWithoutOrders();
    void totals();

private:
    QLineEdit* field(int i) const {
        return f.child<QLineEdit>(i == 0 ? "leOrderCount" : i == 1 ? "leOrderSumNetto" : "leOrderSumBrutto");
    }
    QString fields() const { return field(0)->text() + ' ' + field(1)->text() + ' ' + field(2)->text(); }
    bool choose(const QString& name, const QString& entry) {
        QTreeWidgetItem* row = rowNamed(f.list(), name);
        return row && chooseFromRowMenu(f.list(), row, entry);
    }
    // A stand-in description that only a rewritten row loses.
    void markRows() {
        for (int i = 0; i < f.list()->topLevelItemCount(); ++i)
            f.list()->topLevelItem(i)->setText(ColumnDescription, "alt");
    }
    void pressOrderList() { QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton); }
    // The order list shows with every selector at its last entry and the lower two disabled.
    void checkOrderListSelectors() {
        for (int level = 0; level < 3; ++level)
            QCOMPARE(f.selector(level)->currentIndex(), f.selector(level)->count() - 1);
        QVERIFY(!f.selector(1)->isEnabled() && !f.selector(2)->isEnabled());
    }

    ViewFixture f;
};

void tst_Orders::orderRefreshesOnlyItsRow_data() {
    QTest::addColumn<bool>("search");
    QTest::addColumn<QStringList>("rows"); // ordered: still a group row with the first tier, not the order
    const QStringList capacitors = {"Elko 47uF | 5 | 1.45 | alt", "✓ Kondensator 100nF | 1 | 0.24 | "};
    QTest::newRow("group view") << false << capacitors;
    QTest::newRow("search results") << true
                                    << capacitors + QStringList{"Widerstand 10k | 1 | 0.10 | alt",
                                                                "Widerstand 4,7k | 1 | 1.00 | alt"};
}

void tst_Orders::orderRefreshesOnlyItsRow() {
    QFETCH(bool, search);
    QFETCH(QStringList, rows);
    if (search)
        f.search("Kondensator|Elko|Widerstand");
    const QString shown = f.selector(0)->currentText();
    markRows();
    answerNextOrderDialog("12", true);
    QVERIFY(choose("Kondensator 100nF", "Bestellen"));
    QCOMPARE(fields(), "1 2.22 2.57");
    QCOMPARE(f.selector(0)->currentText(), shown);
    QCOMPARE(rowTexts(f.list()), rows);

    QVERIFY(choose("Kondensator 100nF", "Abbestellen"));
    QCOMPARE(fields(), "0 0.00 0.00");
    QCOMPARE(orderedInCatalog(f.catalog()), 0);
    rows[1] = "Kondensator 100nF | 1 | 0.24 | ";
    QCOMPARE(rowTexts(f.list()), rows);

    // "Info" shows the row clicked, not the one ordered before.
    QString info;
    answerNextModalOf<vxArticleInfoDialog>([&info](vxArticleInfoDialog* dialog) {
        info = dialog->findChild<QTextBrowser*>("teArticleInfo")->toPlainText();
        dialog->accept();
    });
    QVERIFY(choose("Elko 47uF", "Info"));
    QVERIFY2(info.contains("Elko 47uF") && !info.contains("Kondensator"), qPrintable(info));
}

void tst_Orders::changesInOrderListView_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("units"); // typed into the order dialog; null: cancelled; "-": unordered
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("fields");
    const QString capacitor = "✓ Kondensator 100nF | 12 | 2.57 | ", resistor = "✓ Widerstand 4,7k | ";
    // Rounded one by one the net amounts 2.22 and 0.87 would add up to 3.09.
    QTest::newRow("order cancelled") << "Widerstand 4,7k" << QString()
                                     << QStringList{capacitor, resistor + "1 | 1.00 | "} << "2 3.08 3.57";
    QTest::newRow("order accepted") << "Widerstand 4,7k"
                                    << "3" << QStringList{capacitor, resistor + "3 | 3.01 | "}
                                    << "2 4.81 5.58";
    QTest::newRow("unorder") << "Kondensator 100nF"
                             << "-" << QStringList{resistor + "1 | 1.00 | "} << "1 0.87 1.00";
}

// Order rows show the ordered units and their value; any change builds the list and its selectors anew.
void tst_Orders::changesInOrderListView() {
    QFETCH(QString, name);
    QFETCH(QString, units);
    QFETCH(QStringList, rows);
    QFETCH(QString, fields);
    QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
    QVERIFY(f.order(0, 0, 1, "Widerstand 4,7k", "1"));
    pressOrderList();
    QCOMPARE(f.selector(0)->currentText(), "Bestellliste");
    markRows();
    f.selector(1)->setCurrentIndex(0);
    f.selector(2)->setCurrentIndex(0);
    if (units != "-")
        answerNextOrderDialog(units, !units.isNull());
    QVERIFY(choose(name, units == "-" ? "Abbestellen" : "Bestellen"));
    QCOMPARE(rowTexts(f.list()), rows);
    checkOrderListSelectors();
    QCOMPARE(this->fields(), fields);
}

void tst_Orders::unorderAll_data() {
    QTest::addColumn<bool>("orderList");
    QTest::newRow("group view") << false;
    QTest::newRow("order list view") << true;
}

void tst_Orders::unorderAll() {
    QFETCH(bool, orderList);
    QVERIFY(f.order(0, 0, 1, "Widerstand 10k", "1"));
    QVERIFY(f.order(0, 0, 0, "Elko 47uF", "5"));
    QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
    if (orderList)
        pressOrderList();
    QCOMPARE(f.list()->topLevelItemCount(), orderList ? 3 : 2);
    QVERIFY(choose("Kondensator 100nF", "Alle abbestellen"));
    QCOMPARE(orderedInCatalog(f.catalog()), 0);
    QCOMPARE(fields(), "0 0.00 0.00");
    QCOMPARE(f.selector(0)->currentText(), orderList ? "Bestellliste" : "Bauelemente");
    const QStringList rows = {"Elko 47uF | 5 | 1.45 | ", "Kondensator 100nF | 1 | 0.24 | "};
    QCOMPARE(rowTexts(f.list()), orderList ? QStringList() : rows);
}

void tst_Orders::orderListWithoutOrders() {
    pressOrderList();
    QCOMPARE(rowTexts(f.list()), QStringList());
    QCOMPARE(f.selector(0)->currentText(), "Bestellliste");
    checkOrderListSelectors();
    QCOMPARE(fields(), "0 0.00 0.00");

    // Without a catalog: a leftover row goes, the sums are left alone, the selectors stay empty.
    f.reset();
    new QTreeWidgetItem(f.list(), QStringList("übrig"));
    for (int i = 0; i < 3; ++i)
        field(i)->setText(QStringList{"7", "1.23", "4.56"}[i]);
    pressOrderList();
    QCOMPARE(f.list()->topLevelItemCount(), 0);
    QCOMPARE(fields(), "7 1.23 4.56");
    checkOrderListSelectors();
    QCOMPARE(f.selector(0)->count(), 0);
}

// 500 units are one article; ordering it again replaces the units.
void tst_Orders::totals() {
    QVERIFY(f.order(0, 0, 0, "Elko 47uF", "500"));
    QCOMPARE(fields(), "1 125.00 145.00");
    QVERIFY(f.order(0, 0, 0, "Elko 47uF", "50"));
    QCOMPARE(fields(), "1 12.50 14.50");
}

QTEST_MAIN(tst_Orders)
#include "tst_orders.moc"
