#include "catalog/articleitem.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/vxarticleinfodialog.h"

#include <QtTest>
#include <QtWidgets>

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
} // namespace

class tst_Orders : public QObject {
    Q_OBJECT

private slots:
    void init() {
        f.reset();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        QVERIFY(f.open(ordersCatalog()));
        QCOMPARE(fields(), "0 0.00 0.00");
    }
    void orderRefreshesOnlyItsRow_data() {
        QTest::addColumn<bool>("search");
        QTest::addColumn<QStringList>("rows"); // ordered: still a group row with the first tier
        const QStringList capacitors = {"Elko 47uF | 5 | 1.45 | alt", "✓ Kondensator 100nF | 1 | 0.24 | "};
        const QStringList resistors = {"Widerstand 10k | 1 | 0.10 | alt", "Widerstand 4,7k | 1 | 1.00 | alt"};
        QTest::newRow("group view") << false << capacitors;
        QTest::newRow("search results") << true << capacitors + resistors;
    }
    void orderRefreshesOnlyItsRow() {
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
    void changesInOrderListView_data() {
        // Typed into the resistor's order dialog; null: cancelled; "-": the capacitor unordered.
        QTest::addColumn<QString>("units");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("fields");
        const QString cap = "✓ Kondensator 100nF | 12 | 2.57 | ", res = "✓ Widerstand 4,7k | ";
        // clang-format off
        // Rounded one by one the net amounts 2.22 and 0.87 would add up to 3.09.
        QTest::newRow("cancelled") << QString() << QStringList{cap, res + "1 | 1.00 | "} << "2 3.08 3.57";
        QTest::newRow("accepted") << "3" << QStringList{cap, res + "3 | 3.01 | "} << "2 4.81 5.58";
        QTest::newRow("unorder") << "-" << QStringList{res + "1 | 1.00 | "} << "1 0.87 1.00";
        // clang-format on
    }
    // Order rows show the ordered units and their value; any change builds the list anew.
    void changesInOrderListView() {
        QFETCH(QString, units);
        QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
        QVERIFY(f.order(0, 0, 1, "Widerstand 4,7k", "1"));
        pressOrderList();
        QCOMPARE(f.selector(0)->currentText(), "Bestellliste");
        markRows();
        if (units != "-")
            answerNextOrderDialog(units, !units.isNull());
        QVERIFY(units == "-" ? choose("Kondensator 100nF", "Abbestellen")
                             : choose("Widerstand 4,7k", "Bestellen"));
        QTEST(rowTexts(f.list()), "rows");
        QTEST(fields(), "fields");
    }
    void unorderAll_data() {
        QTest::addColumn<bool>("orderList");
        QTest::newRow("group view") << false;
        QTest::newRow("order list view") << true;
    }
    void unorderAll() {
        QFETCH(bool, orderList);
        // 500 units are one article, 145.00 gross; ordering it again replaces the units.
        QVERIFY(f.order(0, 0, 0, "Elko 47uF", "500"));
        QCOMPARE(fields(), "1 125.00 145.00");
        QVERIFY(f.order(0, 0, 1, "Widerstand 10k", "1"));
        QVERIFY(f.order(0, 0, 0, "Elko 47uF", "5"));
        QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
        QCOMPARE(fields(), "3 3.55 4.12");
        if (orderList)
            pressOrderList();
        QCOMPARE(f.list()->topLevelItemCount(), orderList ? 3 : 2);
        QVERIFY(choose("Kondensator 100nF", "Alle abbestellen"));
        QCOMPARE(fields(), "0 0.00 0.00");
        QCOMPARE(f.selector(0)->currentText(), orderList ? "Bestellliste" : "Bauelemente");
        const QStringList rows = {"Elko 47uF | 5 | 1.45 | ", "Kondensator 100nF | 1 | 0.24 | "};
        QCOMPARE(rowTexts(f.list()), orderList ? QStringList() : rows);
        pressOrderList();
        QCOMPARE(rowTexts(f.list()), QStringList());
    }

private:
    QString fields() const {
        QStringList texts;
        for (const char* name : {"leOrderCount", "leOrderSumNetto", "leOrderSumBrutto"})
            texts << f.child<QLineEdit>(name)->text();
        return texts.join(' ');
    }
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

    ViewFixture f;
};

QTEST_MAIN(tst_Orders)
#include "tst_orders.moc"
