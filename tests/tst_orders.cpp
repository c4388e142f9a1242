#include "catalogview/articleitem.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/vxarticleinfodialog.h"

#include <QtPrintSupport>
#include <QtTest>

using namespace vxtest;

namespace {
// The rows the view was not told to show anew since they were marked; they show "alt" as description.
QSet<int> stale;

// Every row as shown: check mark, name, units, price and description.
QStringList rowTexts(const QTreeView* list) {
    QStringList rows;
    for (int i = 0; i < rowCount(list); ++i) {
        const QIcon icon = list->model()->index(i, ColumnName).data(Qt::DecorationRole).value<QIcon>();
        const bool checked = icon.pixmap(16, 16).toImage() == orderedPixmap().toImage();
        rows << QString("%1%2 | %3 | %4 | %5")
                    .arg(checked ? "✓ " : "", cellText(list, i, ColumnName),
                         cellText(list, i, ColumnQuantity), cellText(list, i, ColumnPrice),
                         stale.contains(i) ? QStringLiteral("alt") : cellText(list, i, ColumnDescription));
    }
    return rows;
}
} // namespace

class tst_Orders : public QObject {
    Q_OBJECT

private slots:
    void init() {
        stale.clear();
        f.reset();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        CatalogWriter w;
        w.category("A", "Bauelemente").subCategory("A01", "Passive").subSubCategory("A0101", "Kondensatoren");
        w.subSubCategory("A0102", latin1("Widerstände"));
        // 12 units of 10 pieces at 2.142 per 100: gross 2.5704, net 2.21586; 500 Elko cost 145.00 gross.
        w.article("A0101", "Kondensator 100nF").numbers(1, 10, 1, 100).tiers({{1, 2380}, {10, 2142}});
        w.article("A0101", "Elko 47uF").numbers(2, 1, 1, 1).tiers({{5, 290}});
        // One unit: gross 1.004, net 0.86551.
        w.article("A0102", "Widerstand 4,7k").numbers(1, 1, 1, 1).tiers({{1, 1004}});
        QVERIFY(f.open(w));
    }
    // Ordered, a group row keeps showing the first tier; only the rows concerned are written anew. The
    // monkey test checks fields and rows against the catalog after every action; this pins the numbers.
    void ordering() {
        markRows();
        answerNextOrderDialog("12", true);
        QVERIFY(choose("Kondensator 100nF", "Bestellen"));
        QCOMPARE(fields(), "1 2.22 2.57");
        QStringList rows = {"Elko 47uF | 5 | 1.45 | alt", "✓ Kondensator 100nF | 1 | 0.24 | "};
        QCOMPARE(rowTexts(f.list()), rows);
        QVERIFY(choose("Kondensator 100nF", "Abbestellen"));
        QCOMPARE(fields(), "0 0.00 0.00");
        rows[1] = "Kondensator 100nF | 1 | 0.24 | ";
        QCOMPARE(rowTexts(f.list()), rows);
        // "Info" shows the row clicked, not the one ordered before; a cancelled print prints nothing.
        QString info;
        bool laidOut = false;
        answerNextModalOf<vxArticleInfoDialog>([&](vxArticleInfoDialog* dialog) {
            const auto* view = dialog->findChild<QTextBrowser*>("teArticleInfo");
            info = view->toPlainText();
            // Laid out to fill the dialog above its buttons.
            laidOut = view->width() > dialog->width() * 3 / 4 && view->height() > dialog->height() / 2;
            answerNextModal("QPrintDialog", [&](QWidget* print) {
                static_cast<QPrintDialog*>(print)->printer()->setOutputFileName(f.temp.filePath("info.pdf"));
                static_cast<QPrintDialog*>(print)->reject();
            });
            dialog->findChild<QPushButton*>("pbPrint")->click();
            dialog->findChild<QPushButton*>("pbOK")->click();
        });
        QVERIFY(choose("Elko 47uF", "Info"));
        QVERIFY2(info.contains("Elko 47uF") && !info.contains("Kondensator") && laidOut, qPrintable(info));
        QVERIFY(!QFile::exists(f.temp.filePath("info.pdf")));
        // 500 units are one article; ordering it again replaces the units.
        QVERIFY(f.order(0, 0, 0, "Elko 47uF", "500"));
        QCOMPARE(fields(), "1 125.00 145.00");
        QVERIFY(f.order(0, 0, 0, "Elko 47uF", "5"));
        QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
        QCOMPARE(fields(), "2 3.47 4.02");
        markRows();
        QVERIFY(choose("Kondensator 100nF", "Alle abbestellen"));
        QCOMPARE(fields(), "0 0.00 0.00");
        QCOMPARE(rowTexts(f.list()),
                 (QStringList{"Elko 47uF | 5 | 1.45 | ", "Kondensator 100nF | 1 | 0.24 | "}));
        // Rounded one by one the net amounts 2.22 and 0.87 would add up to 3.09.
        QVERIFY(f.order(0, 0, 0, "Kondensator 100nF", "12"));
        QVERIFY(f.order(0, 0, 1, "Widerstand 4,7k", "1"));
        QCOMPARE(fields(), "2 3.08 3.57");
        // Order rows show the ordered units and their value; a change builds the list anew.
        QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton);
        markRows();
        answerNextOrderDialog("3", true);
        QVERIFY(choose("Widerstand 4,7k", "Bestellen"));
        QCOMPARE(rowTexts(f.list()),
                 (QStringList{"✓ Kondensator 100nF | 12 | 2.57 | ", "✓ Widerstand 4,7k | 3 | 3.01 | "}));
        QCOMPARE(fields(), "2 4.81 5.58");
        QCOMPARE(f.selector(0)->currentText(), "Bestellliste");
    }

private:
    QString fields() const {
        return f.child<QLineEdit>("leOrderCount")->text() + ' ' +
               f.child<QLineEdit>("leOrderSumNetto")->text() + ' ' +
               f.child<QLineEdit>("leOrderSumBrutto")->text();
    }
    bool choose(const QString& name, const QString& entry) {
        const int row = rowNamed(f.list(), name);
        return row >= 0 && chooseFromRowMenu(f.list(), row, entry);
    }
    // Every row counts as stale until the model tells the view that it changed, or that all rows did.
    void markRows() {
        stale.clear();
        for (int i = 0; i < rowCount(f.list()); ++i)
            stale.insert(i);
        const QAbstractItemModel* model = f.list()->model();
        QObject::disconnect(model, nullptr, this, nullptr);
        connect(model, &QAbstractItemModel::dataChanged, this,
                [](const QModelIndex& from, const QModelIndex& to) {
                    if (from.column() <= ColumnDescription && to.column() >= ColumnDescription)
                        for (int i = from.row(); i <= to.row(); ++i)
                            stale.remove(i);
                });
        connect(model, &QAbstractItemModel::modelReset, this, [] { stale.clear(); });
        connect(model, &QAbstractItemModel::layoutChanged, this, [] { stale.clear(); });
    }

    ViewFixture f;
};

QTEST_MAIN(tst_Orders)
#include "tst_orders.moc"
