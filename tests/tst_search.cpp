// The article search: what it finds, the search view it switches to, its progress dialog and its refusals.
#include "catalog/articleitem.h"
#include "catalog/articlematcher.h"
#include "support/catalogwriter.h"
#include "support/viewfixture.h"
#include "support/modal.h"
#include "tools/cataloggenerator.h"
#include "ui/vxcentralwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace vxtest;

namespace {

// Three main groups; the first upper group and its first group have siblings, the last main group has none.
CatalogWriter searchCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug").category("C", "Messtechnik");
    w.subCategory("A01", "Halbleiter")
        .subCategory("A02", "Passive")
        .subCategory("A03", "Stecker")
        .subCategory("B01", latin1("Löttechnik"))
        .subCategory("B02", "Zangen")
        .subCategory("C01", latin1("Messgeräte"));
    w.subSubCategory("A0101", "Transistoren")
        .subSubCategory("A0102", "Regler")
        .subSubCategory("A0103", "Dioden")
        .subSubCategory("A0201", latin1("Widerstände"))
        .subSubCategory("A0202", "Schalter")
        .subSubCategory("A0301", "Rund")
        .subSubCategory("B0101", "Lötkolben")
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

const QStringList firstMainGroupArticles{"7805", "BC547B", "Schalter", "Widerstand 4,7k", "Ärmel-Stecker"};

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

} // namespace

class tst_Search : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void matching_data();
    void matching();
    void caseInsensitiveAsLoweringBoth_data();
    void caseInsensitiveAsLoweringBoth();
    void blankText_data();
    void blankText();
    void switchesToSearchView_data();
    void switchesToSearchView();
    void progressAndCancel_data();
    void progressAndCancel();
    void withoutCatalog();
    void largeResultSorted();

private:
    QComboBox* combo(const char* name) { return view->findChild<QComboBox*>(QLatin1String(name)); }
    QCheckBox* checkBox(const char* name) { return view->findChild<QCheckBox*>(QLatin1String(name)); }
    QTreeWidget* list() { return view->findChild<QTreeWidget*>(QStringLiteral("lvParts")); }
    QStringList rowNames() { return columnTexts(list(), ColumnName); }
    bool open(const QString& directory) {
        answerNextFileDialog(directory);
        view->slotOpenCatalog();
        return !view->currentCatalog().empty();
    }
    void setChecked(const char* name, bool on) {
        if (checkBox(name)->isChecked() != on)
            QTest::keyClick(checkBox(name), Qt::Key_Space);
        QCOMPARE(checkBox(name)->isChecked(), on);
    }
    void search(const QString& text) {
        auto* edit = view->findChild<QLineEdit*>(QStringLiteral("leSearch"));
        edit->clear();
        typeText(edit, text);
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("pbSearch")), Qt::LeftButton);
    }

    vxCentralWidget* view = nullptr;
    QTemporaryDir temp;
    QString catalogDirectory;
};

void tst_Search::initTestCase() {
    catalogDirectory = temp.filePath(QStringLiteral("catalog"));
    QVERIFY(searchCatalog().writeTo(catalogDirectory));
}

void tst_Search::init() {
    view = new vxCentralWidget;
    view->resize(900, 500);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
}

void tst_Search::cleanup() {
    delete view;
    view = nullptr;
}

void tst_Search::matching_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fields"); // N name, D description, O other names
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("all In boxes off") << "e"
                                      << "" << false << QStringList();
    QTest::newRow("dot") << "B.547"
                         << "NDO" << false << QStringList{"BC547B"};
    QTest::newRow("caret at the start of a name") << "^schalt"
                                                  << "NDO" << false << QStringList{"Schalter"};
    QTest::newRow("caret, not inside other names") << "^schalt"
                                                   << "O" << false << QStringList();
    QTest::newRow("caret at the start of a description") << "^schneid"
                                                         << "D" << false << QStringList{"Seitenschneider"};
    QTest::newRow("caret, not inside a name") << "^schneid"
                                              << "N" << false << QStringList();
    QTest::newRow("dollar") << "k$"
                            << "NDO" << false << QStringList{"Widerstand 4,7k"};
    QTest::newRow("leading blank") << " 547"
                                   << "NDO" << false << QStringList{"BC547B"};
    QTest::newRow("leading blank, names only") << " 547"
                                               << "N" << false << QStringList();
    QTest::newRow("trailing blank") << "schalter "
                                    << "NDO" << false << QStringList{"Schalter"};
    QTest::newRow("trailing blank, names only") << "schalter "
                                                << "N" << false << QStringList();
    QTest::newRow("found in three fields, listed once") << "schalt"
                                                        << "NDO" << false << QStringList{"Schalter"};
    QTest::newRow("descriptions only") << "draht"
                                       << "D" << false << QStringList{"Seitenschneider"};
    QTest::newRow("other names only") << "zange"
                                      << "O" << false << QStringList{"Seitenschneider"};
    QTest::newRow("not in the boxes ticked") << "draht"
                                             << "NO" << false << QStringList();

    QTest::newRow("lower case, case-insensitive") << "bc547b"
                                                  << "N" << false << QStringList{"BC547B"};
    QTest::newRow("lower case, case-sensitive") << "bc547b"
                                                << "N" << true << QStringList();
    QTest::newRow("upper case, case-insensitive") << "BC547B"
                                                  << "N" << false << QStringList{"BC547B"};
    QTest::newRow("umlaut, lower finds upper")
        << QStringLiteral("ärmel") << "N" << false << QStringList{QStringLiteral("Ärmel-Stecker")};
    QTest::newRow("umlaut, case-sensitive") << QStringLiteral("ärmel") << "N" << true << QStringList();
    QTest::newRow("umlaut, upper finds lower")
        << QStringLiteral("LÖT") << "NDO" << false << QStringList{QStringLiteral("Lötkolben 30W"), "Lötöse"};
    QTest::newRow("umlaut, upper, case-sensitive")
        << QStringLiteral("LÖT") << "NDO" << true << QStringList{QStringLiteral("Lötkolben 30W")};

    // Escapes whose letter case carries the meaning keep it when the case is ignored.
    const QStringList withoutDigits{"Schalter",
                                    QStringLiteral("Ärmel-Stecker"),
                                    QStringLiteral("Lötöse"),
                                    "Seitenschneider",
                                    "Multimeter",
                                    QStringLiteral("Maß")};
    QTest::newRow("\\D, case-insensitive") << "^\\D+$"
                                           << "N" << false << withoutDigits;
    QTest::newRow("\\D, case-sensitive") << "^\\D+$"
                                         << "N" << true << withoutDigits;
    QTest::newRow("\\d") << "^\\d+$"
                         << "N" << false << QStringList{"7805"};
    QTest::newRow("\\S") << "^\\S+$"
                         << "N" << false
                         << QStringList{"BC547B",
                                        "7805",
                                        "Schalter",
                                        QStringLiteral("Ärmel-Stecker"),
                                        QStringLiteral("Lötöse"),
                                        "Seitenschneider",
                                        "Multimeter",
                                        QStringLiteral("Maß")};
    QTest::newRow("\\B") << "\\Bstand"
                         << "N" << false << QStringList{"Widerstand 4,7k"};
    // Umlauts and ß are letters to \w and \b, as they are to the reader.
    QTest::newRow("\\W") << "\\W"
                         << "N" << false
                         << QStringList{"Widerstand 4,7k", QStringLiteral("Ärmel-Stecker"),
                                        QStringLiteral("Lötkolben 30W")};
    QTest::newRow("\\w")
        << "^\\w+$"
        << "N" << false
        << QStringList{"BC547B",          "7805",       "Schalter",           QStringLiteral("Lötöse"),
                       "Seitenschneider", "Multimeter", QStringLiteral("Maß")};
    QTest::newRow("\\b") << QStringLiteral("\\böse") << "NDO" << false
                         << QStringList{QStringLiteral("Lötöse")};
    QTest::newRow("\\b, names only") << QStringLiteral("\\böse") << "N" << false << QStringList();

    QTest::newRow("invalid: open parenthesis") << "("
                                               << "NDO" << false << QStringList();
    QTest::newRow("invalid: open class") << "[a-"
                                         << "NDO" << false << QStringList();
    QTest::newRow("invalid: lone star") << "*"
                                        << "NDO" << false << QStringList();
}

void tst_Search::matching() {
    QFETCH(QString, text);
    QFETCH(QString, fields);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, found);
    QVERIFY(open(catalogDirectory));
    setChecked("cbName", fields.contains('N'));
    setChecked("cbDescription", fields.contains('D'));
    setChecked("cbOtherNames", fields.contains('O'));
    setChecked("cbCaseSensitive", caseSensitive);
    MessageBoxCatcher boxes;
    search(text);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(rowNames().join(" / "), sorted(found).join(" / "));
    QCOMPARE(rowsAgreeWithCatalog(list(), view->currentCatalog()), QString());
}

void tst_Search::caseInsensitiveAsLoweringBoth_data() {
    QTest::addColumn<QString>("pattern");
    for (const char* pattern :
         {"ä",    "Ä",   "ärmel", "ÄRMEL", "L.T", "^lö", "SE$", "ö|Ü", "[äÖ]",   "(ÄR)+",
          "MASS", "maß", "MAß",   "ÿ",     "µ",   "é",   "È",   "k",   "straße", "STRASSE"})
        QTest::newRow(pattern) << QString::fromUtf8(pattern);
}

// For ordinary text, ignoring the case by the expression's own option finds what lowering the pattern and
// every field would find.
void tst_Search::caseInsensitiveAsLoweringBoth() {
    QFETCH(QString, pattern);
    const ArticleMatcher matcher(pattern, true, false, false, false);
    const QRegularExpression lowered(pattern.toLower());
    QVERIFY(lowered.isValid());
    for (const char* subject : {"Ärmel", "ärmel", "ÄRMEL", "Lötöse", "LÖTÖSE", "Maß", "MASS", "Kelvin", "ÿ",
                                "µF", "Café", "CAFÉ", "Straße", "STRASSE", "Übel", "übel", "ÂÉÈ", "âéè"}) {
        Article article;
        article.name = latin1(subject);
        const QString shown = QString::fromUtf8(subject);
        QVERIFY2(matcher.matches(article) == lowered.match(shown.toLower()).hasMatch(), subject);
    }
}

void tst_Search::blankText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fromSearchView");
    QTest::newRow("empty, group view") << "" << false;
    QTest::newRow("blanks, group view") << "   " << false;
    QTest::newRow("empty, search view") << "" << true;
    QTest::newRow("blanks, search view") << "   " << true;
}

void tst_Search::blankText() {
    QFETCH(QString, text);
    QFETCH(bool, fromSearchView);
    QVERIFY(open(catalogDirectory));
    if (fromSearchView) {
        search(QStringLiteral("schalt"));
        QCOMPARE(rowNames(), QStringList{"Schalter"});
    }
    const QStringList uppers = markedEntries(combo("cbSubCategory"));
    const QStringList groups = markedEntries(combo("cbSubSubCategory"));
    const int mainEntry = combo("cbCategory")->currentIndex();
    const QStringList rows = rowNames();

    QString title, message;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    int rowsWhenAsked = -1;
    answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        message = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        rowsWhenAsked = list()->topLevelItemCount();
        box->defaultButton()->click();
    });
    search(text);
    QCOMPARE(title, QStringLiteral("Vendrix"));
    QCOMPARE(message, QStringLiteral("Geben Sie bitte einen Suchstring ein!"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(parent, view);
    // The search view's list is cleared before the box comes up.
    QCOMPARE(rowsWhenAsked, fromSearchView ? 0 : rows.size());

    QCOMPARE(rowNames(), fromSearchView ? QStringList() : rows);
    QCOMPARE(combo("cbCategory")->currentIndex(), mainEntry);
    QCOMPARE(markedEntries(combo("cbSubCategory")), uppers);
    QCOMPARE(markedEntries(combo("cbSubSubCategory")), groups);
    QCOMPARE(combo("cbSubCategory")->isEnabled(), !fromSearchView);
    QCOMPARE(combo("cbSubSubCategory")->isEnabled(), !fromSearchView);
}

void tst_Search::switchesToSearchView_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("upperEntry");
    QTest::addColumn<int>("groupEntry");
    // Three upper groups and three groups: the second-to-last entries are 1 and 1.
    QTest::newRow("first group") << "group" << 1 << 1;
    // One upper group with one group: there is no second-to-last entry, the selectors stay on 0.
    QTest::newRow("group of the last main group") << "last main group" << 0 << 0;
    QTest::newRow("order list") << "order list" << 1 << 1;
    QTest::newRow("search view") << "search view" << 1 << 1;
    QTest::newRow("Suche chosen") << "Suche chosen" << 1 << 1;
}

void tst_Search::switchesToSearchView() {
    QFETCH(QString, from);
    QFETCH(int, upperEntry);
    QFETCH(int, groupEntry);
    QVERIFY(open(catalogDirectory));
    if (from == QLatin1String("last main group"))
        QVERIFY(chooseEntry(combo("cbCategory"), 2));
    if (from == QLatin1String("order list"))
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("pbOrderList")), Qt::LeftButton);
    if (from == QLatin1String("search view"))
        search(QStringLiteral("schneid"));

    MessageBoxCatcher boxes;
    if (from == QLatin1String("Suche chosen")) {
        typeText(view->findChild<QLineEdit*>(QStringLiteral("leSearch")), QStringLiteral("schneid"));
        QVERIFY(chooseEntry(combo("cbCategory"), combo("cbCategory")->count() - 2));
    } else {
        search(QStringLiteral("schneid"));
    }
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(combo("cbCategory")->currentIndex(), combo("cbCategory")->count() - 2);
    QCOMPARE(combo("cbCategory")->currentText(), QStringLiteral("Suche"));
    QCOMPARE(combo("cbSubCategory")->currentIndex(), upperEntry);
    QCOMPARE(combo("cbSubSubCategory")->currentIndex(), groupEntry);
    QVERIFY(!combo("cbSubCategory")->isEnabled());
    QVERIFY(!combo("cbSubSubCategory")->isEnabled());
    // A search over the shown results starts from an empty list.
    QCOMPARE(rowNames(), QStringList{"Seitenschneider"});
}

void tst_Search::progressAndCancel_data() {
    QTest::addColumn<int>("cancelAt");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("not cancelled") << -1
                                   << sorted(QStringList{"7805", "BC547B", "Schalter", "Widerstand 4,7k",
                                                         QStringLiteral("Ärmel-Stecker"),
                                                         QStringLiteral("Lötkolben 30W"),
                                                         QStringLiteral("Lötöse"), "Seitenschneider",
                                                         "Multimeter", QStringLiteral("Maß")});
    QTest::newRow("cancelled before the first main group") << 1 << QStringList();
    QTest::newRow("cancelled after the first main group") << 2 << firstMainGroupArticles;
}

void tst_Search::progressAndCancel() {
    QFETCH(int, cancelAt);
    QFETCH(QStringList, found);
    QVERIFY(open(catalogDirectory));
    ProgressWatcher progress;
    if (cancelAt >= 0)
        progress.cancelAtValue(cancelAt);
    search(QStringLiteral("."));
    QCOMPARE(rowNames(), found);
    QCOMPARE(combo("cbCategory")->currentText(), QStringLiteral("Suche"));
    QVERIFY(!combo("cbSubCategory")->isEnabled());

    QCOMPARE(progress.objectName, QStringLiteral("progress"));
    QCOMPARE(progress.labels, QStringList{QStringLiteral("Suche läuft...")});
    QCOMPARE(progress.cancelText, QStringLiteral("Abbruch"));
    QVERIFY(progress.modal);
    QCOMPARE(progress.minimumDuration, 0);
    QCOMPARE(progress.maximum, 4);
    // Once cancelled, the dialog stays closed.
    if (cancelAt < 0)
        QCOMPARE(progress.values, (QList<int>{1, 2, 3, 4}));
    else
        QCOMPARE(*std::max_element(progress.values.cbegin(), progress.values.cend()), cancelAt);
}

void tst_Search::withoutCatalog() {
    ProgressWatcher progress;
    MessageBoxCatcher boxes;
    search(QStringLiteral("x"));
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(list()->topLevelItemCount(), 0);
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
        QCOMPARE(combo(name)->count(), 0);
    QVERIFY(!combo("cbSubCategory")->isEnabled());
    QVERIFY(!combo("cbSubSubCategory")->isEnabled());
    if (!progress.objectName.isEmpty())
        QCOMPARE(progress.maximum, 1);

    search(QStringLiteral(" "));
    QCOMPARE(boxes.texts(), QStringList{"Geben Sie bitte einen Suchstring ein!"});
}

void tst_Search::largeResultSorted() {
    const QString directory = temp.filePath(QStringLiteral("large"));
    GeneratedCatalogSize size;
    QVERIFY(generateCatalog(QFile::encodeName(directory).toStdString(), 20000, 3, &size));
    QVERIFY(open(directory));
    QStringList names;
    for (const Category& main : view->currentCatalog())
        for (const SubCategory& upper : main.subCategories)
            for (const SubSubCategory& group : upper.subSubCategories)
                for (const Article& article : group.articles)
                    if (!article.name.empty())
                        names << QString::fromLatin1(article.name.data(), qsizetype(article.name.size()));
    QVERIFY(names.size() >= 20000);

    setChecked("cbDescription", false);
    setChecked("cbOtherNames", false);
    QSignalSpy inserted(list()->model(), &QAbstractItemModel::rowsInserted);
    search(QStringLiteral("^."));
    QCOMPARE(list()->topLevelItemCount(), names.size());
    // One insertion per group at most, not one per row.
    QVERIFY(inserted.size() <= int(size.groups));
    QVERIFY(list()->isSortingEnabled());
    QCOMPARE(list()->header()->sortIndicatorSection(), int(ColumnName));
    QCOMPARE(list()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    const QStringList rows = rowNames();
    for (int i = 1; i < rows.size(); ++i)
        if (rows[i] < rows[i - 1])
            QFAIL(qPrintable(
                QStringLiteral("row %1 out of order: %2 after %3").arg(i).arg(rows[i], rows[i - 1])));
    QCOMPARE(rows, sorted(names));
    QCOMPARE(rowsAgreeWithCatalog(list(), view->currentCatalog()), QString());
}

QTEST_MAIN(tst_Search)
#include "tst_search.moc"
