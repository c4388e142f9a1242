// Selectors, article list, search, order list view and the double-click jump, read back as one screen line.
#include "catalog/indexpath.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

namespace {
// Names unsorted; two empty main groups are named like the special entries "Suche" and "Bestellliste".
CatalogWriter browsingCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").category("C", "Leer").category("D", "Suche");
    w.category("E", "Bestellliste").subCategory("A01", latin1("Widerstände"));
    w.subCategory("A02", "Kondensatoren").subCategory("A03", "Ohne Gruppen").subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kohleschicht").subSubCategory("A0102", "Metallfilm");
    w.subSubCategory("A0103", "Ohne Artikel").subSubCategory("A0201", "Keramik");
    w.subSubCategory("B0101", "Schneiden");
    for (const char* name : {"Widerstand 4,7k", "Widerstand 10k", "Widerstand 1k", "Widerstand 220R"})
        w.article("A0101", name);
    w.article("A0102", "Metallfilm 100R");
    w.article("A0102", latin1("Maß"));
    w.article("A0102", latin1("Lötöse")).describe(latin1("Öse zum Löten"));
    w.article("A0201", "Kondensator 100nF");
    w.article("A0201", "Kondensator 10nF");
    w.article("B0101", "Seitenschneider").describe("Schneidet Draht").others({"Zange"});
    w.article("B0101", "Abisolierzange").describe(latin1("Zange für Kabel"));
    return w;
}

// Screens: main group | upper groups | groups | rows; '*' current or selected, "(off)" a disabled selector.
const QString uppers = QStringLiteral("*Widerstände/Kondensatoren/Ohne Gruppen");
const QString carbonGroups = "0:Bauelemente | " + uppers + " | *Kohleschicht/Metallfilm/Ohne Artikel | ";
const QString carbon = carbonGroups + "Widerstand 10k/Widerstand 1k/Widerstand 220R/Widerstand 4,7k";
const QString capacitors = QStringLiteral("0:Bauelemente | Widerstände/*Kondensatoren/Ohne Gruppen | "
                                          "*Keramik | Kondensator 100nF/Kondensator 10nF");
const QString pliers = QStringLiteral("1:Werkzeug | *Zangen | *Schneiden | Abisolierzange/Seitenschneider");
const QString searchView = QStringLiteral("5:Suche | Widerstände/*Kondensatoren/Ohne Gruppen (off) | "
                                          "Kohleschicht/*Metallfilm/Ohne Artikel (off) | ");
const char* const blank = "Geben Sie bitte einen Suchstring ein!";
} // namespace

class tst_Navigation : public QObject {
    Q_OBJECT
    ViewFixture f;

    QString screen() const {
        QStringList parts{QString::number(f.selector(0)->currentIndex()) + ":" +
                          f.selector(0)->currentText()};
        for (int level : {1, 2})
            parts << markedEntries(f.selector(level)).join('/') +
                         (f.selector(level)->isEnabled() ? "" : " (off)");
        QStringList rows;
        for (int i = 0; i < rowCount(f.list()); ++i)
            rows << (selectedRow(f.list()) == i ? "*" : "") + cellText(f.list(), i, ColumnName);
        return (parts << rows.join('/')).join(QLatin1String(" | "));
    }

private slots:
    void init() {
        f.reset();
        QVERIFY(f.open(browsingCatalog()));
    }

    void cascade_data() {
        // Steps: "<level> <entry>", "emit <level> <index>", "tick <NDOC>", "search|text|order|jump <x>".
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, QStringList choices, const QString& shown,
                            const char* message = "") {
            QTest::newRow(name) << choices << shown << QString(message);
        };
        row("opened", {}, carbon);
        row("main group", {"0 1"}, pliers);
        row("upper group", {"1 1"}, capacitors);
        row("group", {"2 1"},
            "0:Bauelemente | " + uppers +
                " | Kohleschicht/*Metallfilm/Ohne Artikel | Lötöse/Maß/Metallfilm 100R");
        row("group without articles", {"2 2"},
            "0:Bauelemente | " + uppers + " | Kohleschicht/Metallfilm/*Ohne Artikel | ");
        row("upper group without groups", {"1 2"},
            "0:Bauelemente | Widerstände/Kondensatoren/*Ohne Gruppen |  | ");
        row("main group without upper groups", {"0 2"}, "2:Leer |  |  | ");
        row("same main group again", {"1 1", "0 0"}, carbon);
        row("same upper group again", {"2 1", "1 0"}, carbon);
        row("back from an empty main group", {"0 2", "0 0"}, carbon);
        row("upper group after an empty one", {"1 2", "1 1"}, capacitors);
        row("main group after a search", {"search k", "0 0"}, carbon);
        row("main group after the order list", {"order list", "0 1"}, pliers);
        // No user can choose these; the slots must still cope.
        row("negative indices", {"emit 0 -1", "emit 1 -1", "emit 2 -1"}, carbonGroups);
        row("upper group past the end", {"emit 1 3"}, carbonGroups);
        row("upper group far past the end", {QStringLiteral("emit 1 %1").arg(INT_MAX)}, carbonGroups);
        row("group past the end", {"emit 2 3"}, carbonGroups);
        row("main group past the end", {"emit 0 99"}, carbon);
        // The search view keeps the lower selectors on their second-to-last entries and lists new results.
        row("search", {"search schneid"}, searchView + "Seitenschneider");
        row("search in a one-group main group", {"0 1", "search schneid"},
            "5:Suche | *Zangen (off) | *Schneiden (off) | Seitenschneider");
        row("search from the search view", {"search zange", "search schneid"},
            searchView + "Seitenschneider");
        row("Suche chosen", {"text schneid", "0 5"}, searchView + "Seitenschneider");
        row("main group named Suche", {"text schneid", "0 3"}, searchView + "Seitenschneider");
        row("main group named Bestellliste", {"0 4"},
            "6:Bestellliste | Widerstände/Kondensatoren/*Ohne Gruppen (off) | Kohleschicht/Metallfilm/*Ohne "
            "Artikel (off) | ");
        row("blank search in a group view", {"search "}, carbon, blank);
        row("blank search in the search view", {"search k", "search "}, searchView, blank);
        row("Suche chosen with a blank text", {"0 5"}, searchView, blank);
        // The boxes choose the fields; how the expression matches each is tst_matcher's.
        row("search in no field", {"tick ", "search e"}, searchView);
        row("search in two fields, listed once", {"search zange"},
            searchView + "Abisolierzange/Seitenschneider");
        row("search in descriptions", {"tick D", "search draht"}, searchView + "Seitenschneider");
        row("search in other names", {"tick O", "search zange"}, searchView + "Seitenschneider");
        row("search not in these fields", {"tick NO", "search draht"}, searchView);
        row("search ignoring case", {"search LÖTÖSE"}, searchView + "Lötöse");
        row("search keeping case", {"tick NC", "search LÖTÖSE"}, searchView);
        // A jump selects the article's row in its group; "Widerstand 1k" (article 2, row 2) by its index.
        const QStringList ordered{"order Widerstand 1k",   "1 1",       "order Kondensator 10nF", "0 1",
                                  "order Seitenschneider", "order list"};
        row("order list", ordered,
            "6:Bestellliste | *Zangen (off) | *Schneiden (off) | "
            "Kondensator 10nF/Seitenschneider/Widerstand 1k");
        row("order list, jump", ordered + QStringList{"jump Widerstand 1k"},
            QString(carbon).replace("/Widerstand 1k", "/*Widerstand 1k"));
        const QString searched = QStringLiteral("search 1k|10nF|schneider");
        row("search, jump to the first group", {searched, "jump Widerstand 1k"},
            QString(carbon).replace("/Widerstand 1k", "/*Widerstand 1k"));
        row("search, jump to a group's first row", {"search 10k", "jump Widerstand 10k"},
            QString(carbon).replace("| Widerstand 10k", "| *Widerstand 10k"));
        row("search, jump to the second upper group", {searched, "jump Kondensator 10nF"},
            QString(capacitors).replace("/Kond", "/*Kond"));
        row("search, jump to the second main group", {searched, "jump Seitenschneider"},
            QString(pliers).replace("/Seit", "/*Seit"));
    }
    void cascade() {
        QFETCH(QStringList, choices);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        MessageBoxCatcher boxes;
        for (const QString& choice : choices) {
            const QString command = choice.section(' ', 0, 0), argument = choice.section(' ', 1);
            const auto is = [&](const char* c) { return command == QLatin1String(c); };
            if (is("search"))
                f.search(argument);
            else if (is("tick"))
                for (const char* box : {"N cbName", "D cbDescription", "O cbOtherNames", "C cbCaseSensitive"})
                    f.child<QCheckBox>(box + 2)->setChecked(argument.contains(QLatin1Char(*box)));
            else if (is("text"))
                f.child<QLineEdit>("leSearch")->setText(argument);
            else if (choice == QLatin1String("order list"))
                QTest::mouseClick(f.child<QPushButton>("pbOrderList"), Qt::LeftButton);
            else if (is("order")) {
                answerNextOrderDialog("1", true);
                QVERIFY(chooseFromRowMenu(f.list(), rowNamed(f.list(), argument), "Bestellen"));
            } else if (is("jump"))
                doubleClickRow(f.list(), rowNamed(f.list(), argument));
            else if (is("emit"))
                emit f.selector(argument.section(' ', 0, 0).toInt())
                    ->activated(argument.section(' ', 1).toInt());
            else
                QVERIFY2(chooseEntry(f.selector(command.toInt()), argument.toInt()), qPrintable(choice));
        }
        QCOMPARE(boxes.texts().join('\n'), message);
        QCOMPARE(screen(), shown);
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }

    // In a group view the double-clicked row is already where the jump would lead: the list stays.
    void doubleClickInGroupView() {
        QSignalSpy refilled(f.list()->model(), &QAbstractItemModel::modelReset);
        doubleClickRow(f.list(), 1);
        QCOMPARE(refilled.size(), 0);
        QCOMPARE(screen(), QString(carbon).replace("/Widerstand 1k", "/*Widerstand 1k"));
    }

    // One step per main group; a cancel keeps what finished main groups found and the dialog closed.
    void searchProgressAndCancel() {
        for (const auto& [cancelAt, found] : {std::pair{-1, 11}, std::pair{1, 0}, std::pair{2, 9}}) {
            init();
            ProgressWatcher progress;
            progress.cancelAtValue(cancelAt);
            f.search(QStringLiteral("."));
            QCOMPARE(rowCount(f.list()), found);
            QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
            QCOMPARE(f.selector(0)->currentText() + "|" + progress.labels.join('/') + "|" +
                         progress.cancelText,
                     QStringLiteral("Suche|Suche läuft...|Abbruch"));
            QCOMPARE(progress.maximum, 6);
            QCOMPARE(*std::max_element(progress.values.cbegin(), progress.values.cend()),
                     cancelAt < 0 ? 6 : cancelAt);
        }
    }

    void withoutCatalog() {
        f.reset();
        for (int level : {0, 1, 2})
            for (int index : {0, -1})
                emit f.selector(level)->activated(index);
        MessageBoxCatcher boxes;
        f.search(QStringLiteral("x"));
        QCOMPARE(screen().remove(" (off)"), QStringLiteral("-1: |  |  | "));
        f.search(QStringLiteral(" "));
        QCOMPARE(boxes.texts(), QStringList{blank});
    }
};

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
