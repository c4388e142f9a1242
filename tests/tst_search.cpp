// The article search through the view: what it finds, the search view it switches to, its progress dialog
// and its refusals.
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

QStringList sorted(QStringList list) {
    list.sort();
    return list;
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

    void matching_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields"); // N name, D description, O other names; C case-sensitive
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* name, const char* text, const char* fields, QStringList found) {
            QTest::newRow(name) << QString::fromUtf8(text) << fields << found;
        };
        row("all In boxes off", "e", "", {});
        row("found in three fields, listed once", "schalt", "NDO", {"Schalter"});
        row("descriptions only", "draht", "D", {"Seitenschneider"});
        row("other names only", "zange", "O", {"Seitenschneider"});
        row("not in the boxes ticked", "draht", "NO", {});
        // Every field is matched on its own: anchors and blanks see its start and end, not a neighbour's.
        row("caret at the start of a name", "^schalt", "NDO", {"Schalter"});
        row("caret, not inside other names", "^schalt", "O", {});
        row("caret at the start of a description", "^schneid", "D", {"Seitenschneider"});
        row("caret, not inside a name", "^schneid", "N", {});
        row("dollar", "k$", "NDO", {"Widerstand 4,7k"});
        row("leading blank", " 547", "NDO", {"BC547B"});
        row("leading blank, names only", " 547", "N", {});
        row("trailing blank", "schalter ", "NDO", {"Schalter"});
        row("trailing blank, names only", "schalter ", "N", {});
        row("lower case, case-insensitive", "bc547b", "N", {"BC547B"});
        row("lower case, case-sensitive", "bc547b", "NC", {});
        row("umlaut, lower finds upper", "ärmel", "N", {QStringLiteral("Ärmel-Stecker")});
        row("umlaut, case-sensitive", "ärmel", "NC", {});
        row("umlaut, upper finds lower", "LÖT", "NDO",
            {QStringLiteral("Lötkolben 30W"), QStringLiteral("Lötöse")});
        row("umlaut, upper, case-sensitive", "LÖT", "NDOC", {QStringLiteral("Lötkolben 30W")});
        // An escape whose letter case carries its meaning keeps it when the case is ignored; umlauts and ß
        // are letters to \w and \b.
        row("\\D, case-insensitive", "^\\D+$", "N",
            {"Schalter", QStringLiteral("Ärmel-Stecker"), QStringLiteral("Lötöse"), "Seitenschneider",
             "Multimeter", QStringLiteral("Maß")});
        row("\\w", "^\\w+$", "N",
            {"BC547B", "7805", "Schalter", QStringLiteral("Lötöse"), "Seitenschneider", "Multimeter",
             QStringLiteral("Maß")});
        row("\\b", "\\böse", "NDO", {QStringLiteral("Lötöse")});
        row("invalid: open parenthesis", "(", "NDO", {});
        row("invalid: open class", "[a-", "NDO", {});
        row("invalid: lone star", "*", "NDO", {});
    }
    void matching() {
        QFETCH(QString, text);
        QFETCH(QString, fields);
        QFETCH(QStringList, found);
        setChecked("cbName", fields.contains('N'));
        setChecked("cbDescription", fields.contains('D'));
        setChecked("cbOtherNames", fields.contains('O'));
        setChecked("cbCaseSensitive", fields.contains('C'));
        MessageBoxCatcher boxes;
        f.search(text);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.rowNames(), sorted(found));
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }

    // A blank text is refused with a message; the search view empties its list first, a group view stays.
    void blankText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromSearchView");
        QTest::newRow("empty, group view") << "" << false;
        QTest::newRow("blanks, group view") << "   " << false;
        QTest::newRow("blanks, search view") << "   " << true;
    }
    void blankText() {
        QFETCH(QString, text);
        QFETCH(bool, fromSearchView);
        if (fromSearchView)
            f.search(QStringLiteral("schalt"));
        const QStringList before[] = {markedEntries(f.selector(0)), markedEntries(f.selector(1)),
                                      markedEntries(f.selector(2)), f.rowNames()};
        QString message;
        int rowsWhenAsked = -1;
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            rowsWhenAsked = f.list()->topLevelItemCount();
            box->defaultButton()->click();
        });
        f.search(text);
        QCOMPARE(message, QStringLiteral("Geben Sie bitte einen Suchstring ein!"));
        QCOMPARE(rowsWhenAsked, fromSearchView ? 0 : before[3].size());
        QCOMPARE(f.rowNames(), fromSearchView ? QStringList() : before[3]);
        for (int level : {0, 1, 2})
            QCOMPARE(markedEntries(f.selector(level)), before[level]);
        QCOMPARE(f.selector(1)->isEnabled(), !fromSearchView);
        QCOMPARE(f.selector(2)->isEnabled(), !fromSearchView);
    }

    // From anywhere the search shows "Suche", the lower selectors disabled on their second-to-last entries,
    // and only the new results.
    void switchesToSearchView_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("lowerEntries");
        QTest::newRow("first group") << "group" << 1;
        // One upper group with one group: there is no second-to-last entry, the selectors stay on 0.
        QTest::newRow("group of the last main group") << "last main group" << 0;
        QTest::newRow("order list") << "order list" << 1;
        QTest::newRow("search view") << "search view" << 1;
        QTest::newRow("Suche chosen") << "Suche chosen" << 1;
    }
    void switchesToSearchView() {
        QFETCH(QString, from);
        QFETCH(int, lowerEntries);
        if (from == QLatin1String("last main group"))
            QVERIFY(chooseEntry(f.selector(0), 2));
        if (from == QLatin1String("order list"))
            QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton);
        if (from == QLatin1String("search view"))
            f.search(QStringLiteral("schneid"));
        MessageBoxCatcher boxes;
        if (from == QLatin1String("Suche chosen")) {
            f.child<QLineEdit>("leSearch")->setText(QStringLiteral("schneid"));
            QVERIFY(chooseEntry(f.selector(0), f.selector(0)->count() - 2));
        } else {
            f.search(QStringLiteral("schneid"));
        }
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.selector(0)->currentIndex(), f.selector(0)->count() - 2);
        QCOMPARE(f.selector(0)->currentText(), QStringLiteral("Suche"));
        QCOMPARE(f.selector(1)->currentIndex(), lowerEntries);
        QCOMPARE(f.selector(2)->currentIndex(), lowerEntries);
        QVERIFY(!f.selector(1)->isEnabled() && !f.selector(2)->isEnabled());
        QCOMPARE(f.rowNames(), QStringList{"Seitenschneider"});
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
        if (cancelAt < 0)
            QCOMPARE(progress.values, (QList<int>{1, 2, 3, 4}));
        else
            QCOMPARE(*std::max_element(progress.values.cbegin(), progress.values.cend()), cancelAt);
    }

    void withoutCatalog() {
        f.reset();
        MessageBoxCatcher boxes;
        f.search(QStringLiteral("x"));
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.list()->topLevelItemCount(), 0);
        QCOMPARE(f.selector(0)->count() + f.selector(1)->count() + f.selector(2)->count(), 0);
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
        QStringList names;
        for (const Category& main : f.catalog())
            for (const SubCategory& upper : main.subCategories)
                for (const SubSubCategory& group : upper.subSubCategories)
                    for (const Article& article : group.articles)
                        if (!article.name.empty())
                            names << QString::fromLatin1(article.name.data(), qsizetype(article.name.size()));
        QVERIFY(names.size() >= 20000);
        setChecked("cbDescription", false);
        setChecked("cbOtherNames", false);
        QSignalSpy inserted(f.list()->model(), &QAbstractItemModel::rowsInserted);
        f.search(QStringLiteral("^."));
        QVERIFY(inserted.size() <= int(size.groups));
        QCOMPARE(f.rowNames(), sorted(names));
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }
};

QTEST_MAIN(tst_Search)
#include "tst_search.moc"
