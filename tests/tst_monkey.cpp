// A user's long session, played by a seeded random driver: every action goes through the real main window
// and its real modal dialogs, and after each the window must still agree with the catalog it holds.
//
//   VX_MONKEY_SEED=7 VX_MONKEY_ACTIONS=5000 tst_monkey     one seed, many actions
//   VX_MONKEY_MINUTES=30 tst_monkey                        seed after seed until the time is up
//
// A failing seed prints the actions that led to the failure; the same seed replays them (VX_MONKEY_TRACE
// prints each as it happens, for failures that end the process).
#include "app/vxmainwindow.h"
#include "catalog/orderindex.h"
#include "catalog/rowtexts.h"
#include "catalog/sortkeys.h"
#include "catalogview/articleitem.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "support/gui.h"
#include "tools/archivepacker.h"
#include "tools/cataloggenerator.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

#include <random>
#include <sys/stat.h>

using namespace vxtest;

namespace {
const char* const patterns[] = {".",   "Widerstand", "^K",   "nF$", "[0-9]+k", "(",  "[",       "a{2,}",
                                "\\d", "x|y",        "Ä",    "ö",   "*",       "\\", "",        " ",
                                "^$",  ".*1%",       "[^x]", "\\s", "(?i)r",   "))", "a{99999}"};
const char* const orderInputs[] = {"",    "0",   "1",           "2",  "5",  "007",       "10",
                                   "abc", "1e3", "99999999999", "-3", " 4", "2147483647"};
} // namespace

class tst_Monkey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void session();

private:
    bool play(quint64 seed, int actions, QString* failure);
    void act(std::mt19937_64& random, QStringList& log);
    QString invariantBroken();
    // What an answer "Nein" or a damaged file must leave alone: order fields, view, rows and catalog.
    QString screen() const {
        QStringList shown;
        for (const char* name : {"leOrderCount", "leOrderSumNetto", "leOrderSumBrutto"})
            shown << window->findChild<QLineEdit*>(QLatin1String(name))->text();
        for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
            shown << window->findChild<QComboBox*>(QLatin1String(name))->currentText();
        shown << QString::number(view->currentCatalog().size()) << QString::number(rowCount(list));
        for (int i = 0; i < rowCount(list); ++i)
            shown << nameOf(i);
        return shown.join('|');
    }

    // A random row, or -1 in an empty list.
    int anyRow(std::mt19937_64& random) const {
        const int rows = rowCount(list);
        return rows ? int(random() % quint64(rows)) : -1;
    }
    QString nameOf(int row) const { return cellText(list, row, ColumnName); }

    QTemporaryDir temp;
    QStringList catalogs, archives, csvFiles;
    std::unique_ptr<vxMainWindow> window;
    vxCentralWidget* view = nullptr;
    QTreeView* list = nullptr;
    MessageBoxCatcher* boxes = nullptr;
    QString questionBroken;
    // Each row's cells and mark after the last action, and the rows the model reported changed since: a row
    // that changes unreported keeps showing its old texts on the screen.
    QStringList shownRows;
    QSet<int> reportedRows;
    bool allReported = true;
};

void tst_Monkey::initTestCase() {
    // Good catalogs, an empty one and broken ones: a file missing, records cut short, a directory named ART.
    const QString generated = temp.filePath("erzeugt");
    QVERIFY(generateCatalog(QFile::encodeName(generated).toStdString(), 400, 3));
    CatalogWriter small;
    small.category("A", latin1("Bauelemente")).category("B", "Leer");
    small.subCategory("A01", latin1("Widerstände")).subSubCategory("A0101", "Kohle");
    small.article("A0101", latin1("Widerstand 4,7k Ä")).numbers(1, 10, 1, 100).tiers({{1, 2380}, {10, 2142}});
    small.article("A0101", "ohne Preis").tiers({});
    small.article("A0101", "teuer").numbers(2, 1, 2, 1).tiers({{3, 1234567890}});
    for (const char* name :
         {"erzeugt", "klein", "leer", "ohneWGOBER", "abgeschnitten", "ARTverzeichnis", "fehlt"})
        catalogs << temp.filePath(name);
    for (int i = 1; i <= 5; ++i)
        QVERIFY(small.writeTo(catalogs[i]));
    for (const char* name : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"})
        QVERIFY(writeFileBytes(catalogs[2] + "/" + name, ""));
    QVERIFY(QFile::remove(catalogs[3] + "/WGOBER"));
    QVERIFY(writeFileBytes(catalogs[4] + "/ART", readFileBytes(catalogs[4] + "/ART") + "kurz"));
    QVERIFY(QFile::remove(catalogs[5] + "/ART") && QDir().mkdir(catalogs[5] + "/ART"));

    // Archives of the generated catalog by both methods, one cut short, one with flipped bytes.
    std::vector<PackEntry> entries;
    for (const char* name : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"})
        entries.push_back({name, "", 1, readFileBytes(generated + "/" + name)});
    while (entries.size() < 12)
        entries.push_back(
            {"F" + std::to_string(entries.size()), "TXT", int(entries.size() % 2), "90\x90\x90 x"});
    const std::string archive = packArchive(entries);
    std::string flipped = archive;
    for (std::size_t i = 300; i < flipped.size(); i += 997)
        flipped[i] = char(~flipped[i]);
    for (const char* name : {"gut.arc", "kurz.arc", "kaputt.arc", "fehlt.arc"})
        archives << temp.filePath(name);
    // Order lists to import besides the session's own export: damaged, hostile, a FIFO, a directory (the file
    // dialog opens it instead), missing.
    for (const char* name : {"l.csv", "kaputt.csv", "binaer.csv", "fremd.csv", "fifo.csv", "", "fehlt.csv"})
        csvFiles << (*name ? temp.filePath(name) : temp.path());
    QVERIFY(writeFileBytes(csvFiles[1], "Gruppe;Artikel;Menge (VPE)\nA0101;\"Widerstand 4,7k \xC4;1\n") &&
            writeFileBytes(csvFiles[2], std::string("\0\x01\xff\"\n", 5) + archive.substr(0, 3000)) &&
            writeFileBytes(csvFiles[3],
                           "Artikel,Menge (VPE),Gruppe\nteuer,3,A0101\n\"Widerstand 4,7k \xC4\",7,A0101\n") &&
            mkfifo(QFile::encodeName(csvFiles[4]).constData(), 0600) == 0);
    QVERIFY(writeFileBytes(archives[0], archive) && writeFileBytes(archives[1], archive.substr(0, 2000)) &&
            writeFileBytes(archives[2], flipped));
}

void tst_Monkey::session() {
    const int actions = qEnvironmentVariable("VX_MONKEY_ACTIONS", QStringLiteral("300")).toInt();
    const double minutes = qEnvironmentVariable("VX_MONKEY_MINUTES").toDouble();
    quint64 seed = qEnvironmentVariable("VX_MONKEY_SEED", QStringLiteral("1")).toULongLong();
    QElapsedTimer clock;
    clock.start();
    int seeds = 0;
    long long played = 0;
    do {
        QString failure;
        if (!play(seed, actions, &failure))
            QFAIL(qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(failure)));
        ++seeds;
        played += actions;
        ++seed;
    } while (clock.elapsed() < minutes * 60000.0);
    std::printf("%d seeds, %lld actions, %.0f s, no invariant broken\n", seeds, played,
                clock.elapsed() / 1000.0);
}

bool tst_Monkey::play(quint64 seed, int actions, QString* failure) {
    window = std::make_unique<vxMainWindow>();
    window->resize(700, 500);
    window->show();
    view = window->findChild<vxCentralWidget*>("view");
    list = window->findChild<QTreeView*>("lvParts");
    shownRows.clear();
    allReported = true;
    connect(list->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                for (int i = from.row(); i <= to.row(); ++i)
                    reportedRows.insert(i);
            });
    connect(list->model(), &QAbstractItemModel::modelReset, this, [this] { allReported = true; });
    connect(list->model(), &QAbstractItemModel::layoutChanged, this, [this] { allReported = true; });
    std::mt19937_64 random(seed);
    QStringList log;
    // Warnings are part of the session: every message box is answered as it comes.
    MessageBoxCatcher catcher;
    boxes = &catcher;
    questionBroken.clear();
    // A crash ends the process before any report: the seed and, with VX_MONKEY_TRACE, each action are
    // printed as they come.
    const bool trace = qEnvironmentVariableIsSet("VX_MONKEY_TRACE");
    std::printf("seed %llu\n", seed);
    std::fflush(stdout);
    for (int i = 0; i < actions; ++i) {
        const qsizetype logged = log.size();
        act(random, log);
        for (qsizetype k = logged; trace && k < log.size(); ++k)
            std::printf("  %s\n", qPrintable(log[k]));
        std::fflush(stdout);
        const QString broken = invariantBroken();
        if (!broken.isEmpty()) {
            *failure =
                broken + QStringLiteral("\nafter these actions:\n  ") + log.join(QStringLiteral("\n  "));
            return false;
        }
    }
    window.reset();
    return true;
}

void tst_Monkey::act(std::mt19937_64& random, QStringList& log) {
    const auto chance = [&random](int percent) { return int(random() % 100) < percent; };
    switch (random() % 14) {
    case 0: { // open a catalog, sometimes cancelling the progress or the dialog
        const QString directory = catalogs[int(random() % quint64(catalogs.size()))];
        ProgressWatcher progress;
        if (chance(20)) {
            const int value = int(2 + random() % 3);
            progress.cancelAtValue(value);
            log << QStringLiteral("(cancel at %1)").arg(value);
        }
        const bool yes = chance(60);
        boxes->answerWith(yes ? QMessageBox::Yes : QMessageBox::No);
        log << QStringLiteral("(orders: answer %1)").arg(yes ? "Ja" : "Nein");
        if (chance(10)) {
            log << QStringLiteral("open: dialog cancelled");
            rejectNextModal();
        } else {
            log << QStringLiteral("open %1").arg(QFileInfo(directory).fileName());
            answerNextFileDialog(directory);
        }
        const QString before = screen();
        const qsizetype asked = boxes->texts().size();
        view->slotOpenCatalog();
        if (!yes && boxes->texts().size() > asked && boxes->texts()[asked].endsWith("Trotzdem öffnen?") &&
            screen() != before)
            questionBroken =
                QStringLiteral("\"Nein\" to the question changed %1 into %2").arg(before, screen());
        boxes->answerWith(0);
        break;
    }
    case 1:
    case 2: { // choose an entry of a selector
        const char* names[] = {"cbCategory", "cbSubCategory", "cbSubSubCategory"};
        auto* box = window->findChild<QComboBox*>(QLatin1String(names[random() % 3]));
        if (box->count() > 0) {
            const int entry = int(random() % quint64(box->count()));
            log << QStringLiteral("choose %1 %2").arg(box->objectName()).arg(entry);
            chooseEntry(box, entry);
        }
        break;
    }
    case 3: { // search, with random fields and sometimes a cancel
        for (const char* name : {"cbName", "cbDescription", "cbOtherNames", "cbCaseSensitive"})
            window->findChild<QCheckBox*>(QLatin1String(name))->setChecked(chance(name[2] == 'C' ? 30 : 80));
        const QString pattern = QString::fromUtf8(patterns[random() % std::size(patterns)]);
        ProgressWatcher progress;
        if (chance(15)) {
            const int value = int(random() % 4);
            progress.cancelAtValue(value);
            log << QStringLiteral("(cancel at %1)").arg(value);
        }
        log << QStringLiteral("search \"%1\"").arg(pattern);
        window->findChild<QLineEdit*>("leSearch")->setText(pattern);
        QTest::mouseClick(window->findChild<QPushButton*>("pbSearch"), Qt::LeftButton);
        break;
    }
    case 4:
    case 5: { // order a row
        if (const int row = anyRow(random); row >= 0) {
            const QString units = QString::fromLatin1(orderInputs[random() % std::size(orderInputs)]);
            const bool ok = chance(85);
            log << QStringLiteral("order \"%1\" %2 %3").arg(nameOf(row), units, ok ? "OK" : "Abbruch");
            answerNextOrderDialog(units, ok);
            if (!chooseFromRowMenu(list, row, QStringLiteral("Bestellen")))
                rejectNextModal(); // no dialog came; let the pending answer find nothing to do
        }
        break;
    }
    case 6: { // unorder one or all
        if (const int row = anyRow(random); row >= 0) {
            const QString entry =
                chance(80) ? QStringLiteral("Abbestellen") : QStringLiteral("Alle abbestellen");
            log << QStringLiteral("%1 \"%2\"").arg(entry, nameOf(row));
            chooseFromRowMenu(list, row, entry);
        }
        break;
    }
    case 7: { // the order list or a jump from a row to its group
        if (const int row = anyRow(random); row >= 0 && chance(60)) {
            log << QStringLiteral("double-click \"%1\"").arg(nameOf(row));
            doubleClickRow(list, row);
        } else if (chance(50)) {
            // A click on a column title sorts by it, the second one the other way round.
            const int column = int(random() % (ColumnOtherNames + 1));
            log << QStringLiteral("sort by column %1").arg(column);
            QHeaderView* header = list->header();
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2));
        } else {
            log << QStringLiteral("Bestellliste");
            QTest::mouseClick(window->findChild<QPushButton*>("pbOrderList"), Qt::LeftButton);
        }
        break;
    }
    case 8: { // the info dialog of a row
        if (const int row = anyRow(random); row >= 0) {
            log << QStringLiteral("info \"%1\"").arg(nameOf(row));
            answerNextModalMatching([](QWidget* w) { return w->inherits("vxArticleInfoDialog"); },
                                    [this, name = nameOf(row)](QWidget* w) {
                                        if (!w->findChild<QTextBrowser*>()->toPlainText().contains(name))
                                            questionBroken = QStringLiteral("info not on \"%1\"").arg(name);
                                        static_cast<QDialog*>(w)->reject();
                                    });
            chooseFromRowMenu(list, row, QStringLiteral("Info"));
        }
        break;
    }
    case 9: { // export, sometimes where nothing can be written
        const char* kinds[] = {"HTML", "Text", "CSV"};
        const char* kind = kinds[random() % 3];
        const QString path = chance(20) ? temp.filePath("gibtsnicht/liste")
                                        : temp.filePath(QStringLiteral("l.") + QString(kind).toLower());
        log << QStringLiteral("export %1 to %2").arg(kind, path);
        answerNextFileDialog(path);
        QMetaObject::invokeMethod(view, QByteArray("slotExportOrderList") + kind);
        break;
    }
    case 12: { // import the session's own export or a damaged file; a damaged one changes nothing
        const qsizetype file = qsizetype(random() % quint64(csvFiles.size()));
        log << QStringLiteral("import %1").arg(QFileInfo(csvFiles[file]).fileName());
        const QString before = screen();
        const qsizetype shown = boxes->texts().size();
        // As typed by a user: a file the dialog refuses (a missing one) cancels it.
        if (!view->currentCatalog().empty())
            answerNextModalOf<QFileDialog>(
                [path = csvFiles[file]](QFileDialog* dialog) { answerFileDialog(dialog, path); });
        QMetaObject::invokeMethod(view, "slotImportOrderListCSV");
        if (file != 0 && file != 3 && screen() != before)
            questionBroken =
                QStringLiteral("import of a damaged file changed %1 into %2").arg(before, screen());
        if ((file == 1 || file == 2 || file == 4) && boxes->texts().size() == shown)
            questionBroken = QStringLiteral("no warning for %1").arg(csvFiles[file]);
        break;
    }
    case 13: { // close the window or "Beenden"; "Nein" keeps it open, after "Ja" it is shown again
        const bool yes = chance(30);
        boxes->answerWith(yes ? QMessageBox::Yes : QMessageBox::No);
        log << QStringLiteral("close, answer %1").arg(yes ? "Ja" : "Nein");
        const QString before = screen();
        window->close();
        boxes->answerWith(0);
        const QString count = before.section('|', 0, 0);
        if (!yes && !window->isVisible() && !count.isEmpty() && count != "0")
            questionBroken = QStringLiteral("\"Nein\" closed the window");
        if (!yes && screen() != before)
            questionBroken = QStringLiteral("\"Nein\" changed %1 into %2").arg(before, screen());
        window->show();
        break;
    }
    case 10: { // print the order list into a PDF from the menu, or cancel the print dialog
        const bool accept = chance(70);
        log << QStringLiteral("print %1").arg(accept ? "PDF" : "cancelled");
        const QString pdf = temp.filePath("liste.pdf");
        QFile::remove(pdf);
        answerNextModalOf<QPrintDialog>([accept, pdf](QPrintDialog* dialog) {
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(pdf);
            dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        for (QAction* entry : window->menuBar()->actions().value(1)->menu()->actions())
            if (entry->text() == QLatin1String("Drucken"))
                entry->trigger();
        if (QFile::exists(pdf) != accept)
            questionBroken = accept ? QStringLiteral("an accepted print wrote no PDF")
                                    : QStringLiteral("a cancelled print wrote a PDF");
        break;
    }
    default: { // unpack an archive, good or damaged, into a fresh directory
        const QString archive = archives[int(random() % quint64(archives.size()))];
        const QString target = temp.filePath(QStringLiteral("ziel%1").arg(random() % 4));
        QDir(target).removeRecursively();
        QDir().mkpath(target);
        log << QStringLiteral("unpack %1").arg(QFileInfo(archive).fileName());
        answerNextModalMatching([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                                [archive, target](QWidget* w) {
                                    auto* dialog = static_cast<QFileDialog*>(w);
                                    const bool directory = dialog->fileMode() == QFileDialog::Directory;
                                    if (directory)
                                        answerFileDialog(dialog, target);
                                    else {
                                        answerNextFileDialog(target);
                                        answerFileDialog(dialog, archive);
                                    }
                                });
        view->slotUncompressCatalog();
        break;
    }
    }
    QApplication::processEvents();
}

// What the window shows against a fresh computation from the catalog it holds.
QString tst_Monkey::invariantBroken() {
    if (!questionBroken.isEmpty())
        return questionBroken;
    const Catalog& catalog = view->currentCatalog();
    int count = 0;
    double net = 0.0, gross = 0.0;
    std::vector<FoundArticle> ordered;
    walkOrders(catalog, ordered, count, net, gross);
    const QString fields = screen().section('|', 0, 2),
                  fresh = QStringLiteral("%1|%2|%3").arg(count).arg(net, 0, 'f', 2).arg(gross, 0, 'f', 2);
    // Before the first catalog the fields are still empty.
    if (fields != QLatin1String("||") && fields != fresh)
        return QStringLiteral("order fields %1, the catalog says %2").arg(fields, fresh);

    const bool orderList =
        window->findChild<QComboBox*>("cbCategory")->currentText() == QLatin1String("Bestellliste");
    if (orderList && rowCount(list) != int(ordered.size()))
        return QStringLiteral("order list shows %1 rows for %2 ordered articles")
            .arg(rowCount(list))
            .arg(ordered.size());
    const RowKind kind = orderList ? RowKind::Order : RowKind::Group;
    QStringList sortTexts, rows;
    for (int i = 0; i < rowCount(list); ++i) {
        const IndexPath path = rowPath(list, i);
        const Article* article = articleAt(catalog, path);
        if (!article)
            return QStringLiteral("row \"%1\" names no article").arg(nameOf(i));
        if (orderList && article->orderedUnits <= 0)
            return QStringLiteral("order list shows unordered \"%1\"").arg(nameOf(i));
        QString cells;
        for (int column = 0; column < ArticleColumnCount; ++column) {
            const QString fresh = articleColumnText(*article, path, kind, column);
            cells += fresh + '|';
            if (cellText(list, i, column) != fresh)
                return QStringLiteral("row \"%1\" column %2 shows \"%3\", the article \"%4\"")
                    .arg(nameOf(i))
                    .arg(column)
                    .arg(cellText(list, i, column), fresh);
        }
        const QIcon icon = list->model()->index(i, ColumnName).data(Qt::DecorationRole).value<QIcon>();
        if (icon.cacheKey() != orderIcon(article->orderedUnits > 0).cacheKey())
            return QStringLiteral("row \"%1\" shows the wrong order mark").arg(nameOf(i));
        rows << cells + QString::number(icon.cacheKey());
        sortTexts << cellText(list, i, list->header()->sortIndicatorSection());
    }
    // The rows stand in the order of the sort column's texts.
    const QCollator collator;
    for (qsizetype i = 1; i < sortTexts.size(); ++i) {
        const bool descending = list->header()->sortIndicatorOrder() == Qt::DescendingOrder;
        if (textLess(collator, descending ? sortTexts[i - 1] : sortTexts[i],
                     descending ? sortTexts[i] : sortTexts[i - 1]))
            return QStringLiteral("rows %1 and %2 out of order by column %3")
                .arg(i - 1)
                .arg(i)
                .arg(list->header()->sortIndicatorSection());
    }
    for (qsizetype i = 0; !allReported && i < rows.size(); ++i)
        if (i >= shownRows.size() || (rows[i] != shownRows[i] && !reportedRows.contains(int(i))))
            return QStringLiteral("row %1 became \"%2\" unreported").arg(i).arg(rows[i]);
    shownRows = rows;
    reportedRows.clear();
    allReported = false;
    return QString();
}

int main(int argc, char* argv[]) {
    // Sessions of many minutes outlast QtTest's five-minute watchdog; CTest's own timeout still holds.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "36000000");
    QApplication app(argc, argv);
    // The session closes the window and shows it again.
    QApplication::setQuitOnLastWindowClosed(false);
    tst_Monkey test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_monkey.moc"
