// The article search through the view: what it finds, its progress dialog and the list it fills. The search
// view it switches to is checked with the other views in tst_navigation.
#include "catalog/articleitem.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "tools/cataloggenerator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {

// Three main groups; the first upper group and its first group have siblings, the last main group has none.
CatalogWriter searchCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").category("C", "Messtechnik");
    w.subCategory("A01", "Halbleiter").subCategory("A02", "Passive").subCategory("A03", "Stecker");
    w.subCategory("B01", latin1("Löttechnik")).subCategory("B02", "Zangen").subCategory("C01", "Messen");
    w.subSubCategory("A0101", "Transistoren")
        .subSubCategory("A0102", "Regler")
        .subSubCategory("A0103", "Dioden");
    w.subSubCategory("A0201", "Widerstand")
        .subSubCategory("A0202", "Schalter")
        .subSubCategory("A0301", "Rund");
    w.subSubCategory("B0101", "Kolben")
        .subSubCategory("B0201", "Schneiden")
        .subSubCategory("C0101", "Multimeter");
    w.article("A0101", "BC547B").describe("Transistor NPN 45V").others({"BC547", "BC 547 B"});
    w.article("A0102", "7805").describe("Spannungsregler 5V");
    w.article("A0201", "Widerstand 4,7k").describe("Kohleschicht 0,25W");
    w.article("A0202", "Schalter").describe(latin1("Schalter für Schaltschränke")).others({"Kippschalter"});
    w.article("A0301", latin1("Ärmel-Stecker")).describe("Steckverbinder");
    w.article("B0101", latin1("Lötkolben 30W")).describe(latin1("LÖTSTATION mit Ständer"));
    w.article("B0101", latin1("Lötöse")).describe(latin1("Öse zum Löten"));
    w.article("B0201", "Seitenschneider").describe("Schneidet Draht").others({"Zange"});
    w.article("C0101", "Multimeter").describe(latin1("Digitales Messgerät")).others({"DMM"});
    w.article("C0101", latin1("Maß")).describe(latin1("Bandmaß 5m"));
    return w;
}

} // namespace

class tst_Search : public QObject {
    Q_OBJECT

    ViewFixture f;

    void setChecked(const char* name, bool on) {
        auto* box = f.child<QCheckBox>(name);
        if (box->isChecked() != on)
            QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->isChecked(), on);
    }

private slots:
    void init() {
        f.reset();
        QVERIFY(f.open(searchCatalog()));
    }

    // Fields as ticked, the case as chosen; a field is matched on its own, so anchors and blanks see its own
    // start and end. An escape whose letter case carries its meaning keeps it when the case is ignored;
    // umlauts and ß are letters to \w and \b.
    void matching_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields"); // N name, D description, O other names; C case-sensitive
        QTest::addColumn<QString>("found");
        const auto row = [](const char* text, const char* fields, const char* found) {
            QTest::addRow("%s %s", text, fields)
                << QString::fromUtf8(text) << fields << QString::fromUtf8(found);
        };
        row("e", "", "");
        row("schalt", "NDO", "Schalter"); // found in three fields, listed once
        row("draht", "D", "Seitenschneider");
        row("zange", "O", "Seitenschneider");
        row("draht", "NO", "");
        row("^schalt", "NDO", "Schalter");
        row("^schalt", "O", "");
        row("^schneid", "D", "Seitenschneider");
        row("^schneid", "N", "");
        row("k$", "NDO", "Widerstand 4,7k");
        row(" 547", "NDO", "BC547B");
        row(" 547", "N", "");
        row("schalter ", "NDO", "Schalter");
        row("schalter ", "N", "");
        row("bc547b", "N", "BC547B");
        row("bc547b", "NC", "");
        row("ärmel", "N", "Ärmel-Stecker");
        row("ärmel", "NC", "");
        row("LÖT", "NDO", "Lötkolben 30W/Lötöse");
        row("LÖT", "NDOC", "Lötkolben 30W");
        row("^\\D+$", "N", "Lötöse/Maß/Multimeter/Schalter/Seitenschneider/Ärmel-Stecker");
        row("^\\w+$", "N", "7805/BC547B/Lötöse/Maß/Multimeter/Schalter/Seitenschneider");
        row("\\böse", "NDO", "Lötöse");
        for (const char* invalid : {"(", "[a-", "*"})
            row(invalid, "NDO", "");
    }
    void matching() {
        QFETCH(QString, text);
        QFETCH(QString, fields);
        QFETCH(QString, found);
        setChecked("cbName", fields.contains('N'));
        setChecked("cbDescription", fields.contains('D'));
        setChecked("cbOtherNames", fields.contains('O'));
        setChecked("cbCaseSensitive", fields.contains('C'));
        MessageBoxCatcher boxes;
        f.search(text);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.rowNames().join('/'), found);
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }

    // One step per main group; a cancel keeps what the finished main groups found.
    void progressAndCancel_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<int>("found");
        QTest::newRow("not cancelled") << -1 << 10;
        QTest::newRow("cancelled before the first main group") << 1 << 0;
        QTest::newRow("cancelled after the first main group") << 2 << 5;
    }
    void progressAndCancel() {
        QFETCH(int, cancelAt);
        QFETCH(int, found);
        ProgressWatcher progress;
        progress.cancelAtValue(cancelAt);
        f.search(QStringLiteral("."));
        QCOMPARE(f.list()->topLevelItemCount(), found);
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
        QCOMPARE(f.selector(0)->currentText(), QStringLiteral("Suche"));
        QCOMPARE(progress.labels, QStringList{QStringLiteral("Suche läuft...")});
        QCOMPARE(progress.cancelText, QStringLiteral("Abbruch"));
        QCOMPARE(progress.maximum, 4);
        // Once cancelled, the dialog stays closed.
        QCOMPARE(*std::max_element(progress.values.cbegin(), progress.values.cend()),
                 cancelAt < 0 ? 4 : cancelAt);
    }

    void withoutCatalog() {
        f.reset();
        MessageBoxCatcher boxes;
        f.search(QStringLiteral("x"));
        QCOMPARE(f.list()->topLevelItemCount() + f.selector(0)->count() + f.selector(1)->count(), 0);
        f.search(QStringLiteral(" "));
        QCOMPARE(boxes.texts(), QStringList{"Geben Sie bitte einen Suchstring ein!"});
    }

    // Twenty thousand results arrive sorted by name, in few insertions, each row addressing its article.
    void largeResultSorted() {
        const QString directory = f.temp.filePath(QStringLiteral("large"));
        GeneratedCatalogSize size;
        QVERIFY(generateCatalog(QFile::encodeName(directory).toStdString(), 20000, 3, &size));
        answerNextFileDialog(directory);
        f.view->slotOpenCatalog();
        setChecked("cbDescription", false);
        setChecked("cbOtherNames", false);
        QSignalSpy inserted(f.list()->model(), &QAbstractItemModel::rowsInserted);
        f.search(QStringLiteral("^."));
        QVERIFY(inserted.size() <= int(size.groups));
        QStringList names = f.rowNames();
        QCOMPARE(names.size(), int(size.articles));
        names.sort();
        QCOMPARE(f.rowNames(), names);
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }
};

QTEST_MAIN(tst_Search)
#include "tst_search.moc"
