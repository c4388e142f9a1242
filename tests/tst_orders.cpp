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

#include <array>

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

bool showsCheckMark(const QTreeWidgetItem* row) {
    const auto image = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    return image(row->icon(ColumnName).pixmap(16, 16)) == image(orderedPixmap());
}

// Ordered articles as the catalog itself has them, apart from the view's index of orders.
int orderedInCatalog(const Catalog& catalog) {
    int count = 0;
    double net = 0, gross = 0;
    for (const Category& category : catalog)
        category.sumOrders(count, net, gross);
    return count;
}

// Every row as shown: check mark, name, units, price and description.
QStringList rowTexts(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* r = list->topLevelItem(i);
        rows << QString("%1%2 | %3 | %4 | %5")
                    .arg(showsCheckMark(r) ? "✓ " : "", r->text(ColumnName), r->text(ColumnQuantity),
                         r->text(ColumnPrice), r->text(ColumnDescription));
    }
    return rows;
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
    void infoShowsTheChosenArticle();
    void changesInOrderListView_data();
    void changesInOrderListView();
    void unorderAll_data();
    void unorderAll();
    void orderListWithoutOrders();
    void totals_data();
    void totals();

private:
    QLineEdit* field(int i) const {
        return f.child<QLineEdit>(std::array{"leOrderCount", "leOrderSumNetto", "leOrderSumBrutto"}[i]);
    }
    QString fields() const { return field(0)->text() + ' ' + field(1)->text() + ' ' + field(2)->text(); }
    bool choose(const QString& name, const QString& entry) {
        QTreeWidgetItem* row = rowNamed(f.list(), name);
        return row && chooseFromRowMenu(f.list(), row, entry);
    }
    // A stand-in description that only a rewritten row loses.
    void markRows(const QString& text) {
        for (int i = 0; i < f.list()->topLevelItemCount(); ++i)
            f.list()->topLevelItem(i)->setText(ColumnDescription, text);
    }
    void pressOrderList() { QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton); }
    // The order list shows with its lower selectors at their last entries and disabled.
    void checkOrderListSelectors() {
        for (int level = 0; level < 3; ++level)
            QCOMPARE(f.selector(level)->currentIndex(), f.selector(level)->count() - 1);
        QVERIFY(!f.selector(1)->isEnabled() && !f.selector(2)->isEnabled());
    }

    ViewFixture f;
};

void tst_Orders::orderRefreshesOnlyItsRow_data() {
    QTest::addColumn<bool>("search");
    QTest::addColumn<QStringList>("rows"); // after ordering
    QTest::newRow("group view") << false
                                << QStringList{"Elko 47uF | 5 | 1.45 | alt", "✓ Kondensator 100nF | 1 | 0.24 | "};
    QTest::newRow("search results") << true
                                    << QStringList{"Elko 47uF | 5 | 1.45 | alt",
                                                   "✓ Kondensator 100nF | 1 | 0.24 | ",
                                                   "Widerstand 10k | 1 | 0.10 | alt",
                                                   "Widerstand 4,7k | 1 | 1.00 | alt"};
}

// Still a group row after ordering: the first tier's quantity and price, not the order's.
void tst_Orders::orderRefreshesOnlyItsRow() {
    QFETCH(bool, search);
    QFETCH(QStringList, rows);
    if (search)
        f.search("Kondensator|Elko|Widerstand");
    const QString shown = f.selector(0)->currentText();
    markRows("alt");
    answerNextOrderDialog("12", true);
    QVERIFY(choose("Kondensator 100nF", "Bestellen"));
    QCOMPARE(fields(), "1 2.22 2.57");
    QCOMPARE(f.selector(0)->currentText(), shown);
    QCOMPARE(rowTexts(f.list()), rows);

    QVERIFY(choose("Kondensator 100nF", "Abbestellen"));
    QCOMPARE(fields(), "0 0.00 0.00");
    rows.replace(1, "Kondensator 100nF | 1 | 0.24 | ");
    QCOMPARE(rowTexts(f.list()), rows);
    QCOMPARE(orderedInCatalog(f.catalog()), 0);
}

void tst_Orders::infoShowsTheChosenArticle() {
    QVERIFY(f.order(0, 0, 1, "Widerstand 4,7k", "1"));
    QString shown;
    answerNextModalOf<vxArticleInfoDialog>([&shown](vxArticleInfoDialog* dialog) {
        shown = dialog->findChild<QTextBrowser*>("teArticleInfo")->toPlainText();
        dialog->accept();
    });
    QVERIFY(choose("Widerstand 10k", "Info"));
    QVERIFY2(shown.contains("Widerstand 10k") && !shown.contains("4,7k"), qPrintable(shown));
    QCOMPARE(fields(), "1 0.87 1.00");
}

void tst_Orders::changesInOrderListView_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("units"); // typed into the order dialog; null: the dialog is cancelled
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("fields");

    const QString capacitor = "✓ Kondensator 100nF | 12 | 2.57 | ";
    QTest::newRow("order accepted") << "Widerstand 4,7k" << "Bestellen" << "3"
                                    << QStringList{capacitor, "✓ Widerstand 4,7k | 3 | 3.01 | "} << "2 4.81 5.58";
    QTest::newRow("order cancelled") << "Widerstand 4,7k" << "Bestellen" << QString()
                                     << QStringList{capacitor, "✓ Widerstand 4,7k | 1 | 1.00 | "}
                                     << "2 3.08 3.57";
    QTest::newRow("unorder") << "Kondensator 100nF" << "Abbestellen" << QString()
                             << QStringList{"✓ Widerstand 4,7k | 1 | 1.00 | "} << "1 0.87 1.00";
}

// Order rows show the ordered units and their value; any change builds the list anew.
void tst_Orders::changesInOrderListView() {
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QFETCH(QString, units);
    QFETCH(QStringList, rows);
    QFETCH(QString, fields);
    QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
    QVERIFY(f.order(0, 0, 1, "Widerstand 4,7k", "1"));
    pressOrderList();
    QCOMPARE(f.selector(0)->currentText(), "Bestellliste");
    markRows("alt");
    // The lower selectors are put back as well.
    f.selector(1)->setCurrentIndex(0);
    f.selector(2)->setCurrentIndex(0);

    if (entry == "Bestellen")
        answerNextOrderDialog(units, !units.isNull());
    QVERIFY(choose(name, entry));
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
    QCOMPARE(f.list()->topLevelItemCount(), 0);
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

void tst_Orders::totals_data() {
    QTest::addColumn<QStringList>("orders"); // article name = units typed
    QTest::addColumn<QString>("fields");
    // Rounded one by one the net amounts 2.22 and 0.87 would add up to 3.09.
    QTest::newRow("sums of unrounded amounts")
        << QStringList{"Kondensator 100nF=12", "Widerstand 4,7k=1"} << "2 3.08 3.57";
    QTest::newRow("500 units are one article") << QStringList{"Elko 47uF=500"} << "1 125.00 145.00";
    QTest::newRow("ordered again replaces") << QStringList{"Elko 47uF=500", "Elko 47uF=50"} << "1 12.50 14.50";
}

void tst_Orders::totals() {
    QFETCH(QStringList, orders);
    QFETCH(QString, fields);
    for (const QString& item : orders) {
        const QString name = item.section('=', 0, 0);
        QVERIFY(f.order(0, 0, name.startsWith("Widerstand") ? 1 : 0, name, item.section('=', 1)));
    }
    QCOMPARE(this->fields(), fields);
}

QTEST_MAIN(tst_Orders)
#include "tst_orders.moc"
