// The catalog menu's opening and unpacking; selectors, article list, search, order list view and the
// double-click jump, read back as one screen line.
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "support/gui.h"
#include "tools/archivepacker.h"
#include "uncompress/uncompress.h"

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
const QString nothing = QStringLiteral("-1: |  |  | ");
} // namespace

class tst_Navigation : public QObject {
    Q_OBJECT
    std::unique_ptr<vxCentralWidget> view;
    QTemporaryDir temp;
    const QString archive = temp.filePath("archive.arc");
    const QString target = temp.filePath(QString::fromUtf8("Zielordner äß/"));
    std::vector<PackEntry> entries;

    // The archive of records F1 to F12 of 40 to 480 bytes, and an empty target.
    void prepare(int method) {
        entries.clear();
        for (int i = 1; i <= 12; ++i)
            entries.push_back(
                {"F" + std::to_string(i), "", method, std::string(40u * i, char('a' + i)), false});
        QVERIFY(writeFileBytes(archive, packArchive(entries)));
        QVERIFY(QDir(target).removeRecursively() && QDir().mkpath(target));
    }
    // The first count records are unpacked exactly, the others not (or not wholly).
    void compareWith(int count) {
        for (const PackEntry& e : entries)
            QVERIFY2((readFileBytes(target + e.name.c_str()) == e.bytes) == (&e - &entries[0] < count),
                     e.name.c_str());
    }

    template <class T> T* child(const char* name) const { return view->findChild<T*>(QLatin1String(name)); }
    QComboBox* selector(int level) const {
        return child<QComboBox>(std::array{"cbCategory", "cbSubCategory", "cbSubSubCategory"}[level]);
    }
    QTreeView* list() const { return child<QTreeView>("lvParts"); }
    void search(const QString& text) {
        child<QLineEdit>("leSearch")->setText(text);
        QTest::mouseClick(child<QPushButton>("pbSearch"), Qt::LeftButton);
    }
    QString screen() const {
        QStringList parts{QString::number(selector(0)->currentIndex()) + ":" + selector(0)->currentText()};
        for (int level : {1, 2})
            parts << markedEntries(selector(level)).join('/') +
                         (selector(level)->isEnabled() ? "" : " (off)");
        QStringList rows;
        for (int i = 0; i < rowCount(list()); ++i)
            rows << (list()->selectionModel()->isRowSelected(i, {}) ? "*" : "") +
                        cellText(list(), i, ColumnName);
        return (parts << rows.join('/')).join(QLatin1String(" | "));
    }

private slots:
    // A fresh view, as after starting the program, with the catalog opened through "Öffnen".
    void init() {
        view = std::make_unique<vxCentralWidget>();
        view->resize(900, 600);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()) &&
                browsingCatalog().writeTo(temp.filePath("katalog")));
        answerNextFileDialog(temp.filePath("katalog"));
        view->slotOpenCatalog();
    }

    void cascade_data() {
        // Steps: "<level> <entry>", "emit <level> <index>", "tick <NDOC>", "search|text|order|jump <x>",
        // "fresh".
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
        row("without a catalog",
            {"fresh", "emit 0 0", "emit 1 0", "emit 2 0", "emit 0 -1", "emit 1 -1", "emit 2 -1"}, nothing);
        row("search without a catalog", {"fresh", "search x"}, "-1: |  (off) |  (off) | ");
        row("blank search without a catalog", {"fresh", "search "}, nothing, blank);
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
                search(argument);
            else if (is("tick"))
                for (const char* box : {"N cbName", "D cbDescription", "O cbOtherNames", "C cbCaseSensitive"})
                    child<QCheckBox>(box + 2)->setChecked(argument.contains(QLatin1Char(*box)));
            else if (is("text"))
                child<QLineEdit>("leSearch")->setText(argument);
            else if (choice == QLatin1String("fresh")) // as started, without a catalog
                view = std::make_unique<vxCentralWidget>();
            else if (choice == QLatin1String("order list"))
                QTest::mouseClick(child<QPushButton>("pbOrderList"), Qt::LeftButton);
            else if (is("order")) {
                answerNextOrderDialog("1", true);
                QVERIFY(chooseFromRowMenu(list(), rowNamed(list(), argument), "Bestellen"));
            } else if (is("jump"))
                doubleClickRow(list(), rowNamed(list(), argument));
            else if (is("emit"))
                emit selector(argument.section(' ', 0, 0).toInt())
                    ->activated(argument.section(' ', 1).toInt());
            else
                QVERIFY2(chooseEntry(selector(command.toInt()), argument.toInt()), qPrintable(choice));
        }
        QCOMPARE(boxes.texts().join('\n'), message);
        QCOMPARE(screen(), shown);
    }

    // One step per main group; a cancel keeps what finished main groups found and the dialog closed.
    void searchProgressAndCancel() {
        for (const auto& [cancelAt, found] : {std::pair{-1, 11}, std::pair{1, 0}, std::pair{2, 9}}) {
            init();
            ProgressWatcher progress;
            progress.cancelAtValue(cancelAt);
            search(QStringLiteral("."));
            QCOMPARE(rowCount(list()), found);
            QCOMPARE(selector(0)->currentText() + "|" + progress.labels.join('/') + "|" + progress.cancelText,
                     QStringLiteral("Suche|Suche läuft...|Abbruch"));
            QCOMPARE(progress.maximum, 6);
            QCOMPARE(*std::max_element(progress.values.cbegin(), progress.values.cend()),
                     cancelAt < 0 ? 6 : cancelAt);
        }
    }

    // The directory's name tells what is wrong: "leer" has no records, "fehlt" lacks a file, ART is a
    // directory; "nein" is not opened, the question about the order answered with "Nein".
    void opening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("shown");
        const QString none, small = "0:Bauelemente | *Widerstände/Kondensatoren | *Kohleschicht | ";
        for (const char* name : {"Katalog Müller & Söhne", "Каталог € 2024"})
            QTest::newRow(name) << name << -1 << none << none << small + "Widerstand 10k/Widerstand 4,7k";
        QTest::newRow("no records") << "leer" << -1 << none << none << "0:Suche |  |  | ";
        for (int file = 0; file < 4; ++file) {
            const QString name = CatalogWriter::fileName(CatalogFile(file));
            QTest::addRow("%s missing", qPrintable(name))
                << "fehlt" << file << none << "Die Datei " + name + " konnte nicht geöffnet werden!"
                << nothing;
            // A cancel acts right after the file being read: a late check would warn of the missing next
            // file.
            if (file > 0)
                QTest::addRow("cancelled before %s", qPrintable(name))
                    << "fehlt" << file << "Öffne " + QString(CatalogWriter::fileName(CatalogFile(file - 1)))
                    << none << nothing;
        }
        // Nobody looks at the cancel button after the last file.
        QTest::newRow("cancelled while reading ART")
            << "klein" << -1 << "Öffne ART" << none << small + "Widerstand 10k/Widerstand 4,7k";
        QTest::newRow("ART is a directory")
            << "ART" << 3 << none << "Die Datei ART konnte nicht vollständig gelesen werden!" << small;
        QTest::newRow("file dialog cancelled") << none << -1 << none << none << none;
        QTest::newRow("orders kept") << "nein" << -1 << none << none << none;
    }
    void opening() {
        QFETCH(QString, name);
        QFETCH(int, file);
        QFETCH(QString, cancelAt);
        QFETCH(QString, warning);
        QFETCH(QString, shown);
        answerNextOrderDialog("2", true);
        QVERIFY(chooseFromRowMenu(list(), 1, "Bestellen"));
        const bool kept = name.isEmpty() || name == "nein";
        if (kept)
            shown = screen();
        CatalogWriter w;
        if (name != "leer") {
            w.category("A", "Bauelemente").category("B", "Werkzeug");
            w.subCategory("A01", latin1("Widerstände")).subCategory("A02", "Kondensatoren");
            w.subSubCategory("A0101", "Kohleschicht").article("A0101", "Widerstand 4,7k");
            w.article("A0101", "Widerstand 10k");
        }
        const QString directory = temp.filePath(name);
        const QString broken = directory + "/" + CatalogWriter::fileName(CatalogFile(std::max(file, 0)));
        QVERIFY(name.isEmpty() || (w.writeTo(directory) && (file < 0 || QFile::remove(broken)) &&
                                   (name != "ART" || QDir().mkdir(broken))));
        ProgressWatcher progress;
        progress.cancelAt(cancelAt);
        MessageBoxCatcher boxes;
        boxes.answerWith(kept ? QMessageBox::No : QMessageBox::Yes);
        name.isEmpty() ? rejectNextModal() : answerNextFileDialog(directory);
        view->slotOpenCatalog();
        QStringList texts{"Es sind 1 Artikel bestellt. Beim Öffnen eines anderen Katalogs geht die "
                          "Bestellliste verloren. Trotzdem öffnen?"};
        if (name.isEmpty() || !warning.isEmpty())
            texts = name.isEmpty() ? QStringList() : texts << warning;
        QCOMPARE(boxes.texts(), texts);
        // The order fields are checked against the catalog by the monkey test.
        QCOMPARE(screen(), shown);
        if (shown != nothing && !kept) {
            QCOMPARE(progress.labels.join('|'),
                     "Öffne Katalog...|Öffne WGHAUPT|Öffne WGOBER|Öffne WGGRUPPE|Öffne ART");
            QVERIFY(progress.cancelText == "Abbruch" && progress.maximum == 5 &&
                    progress.values == (QList<int>{1, 2, 3, 4, 5}));
        }
    }

    // The shipped sample, and reference vectors made apart from the packer, so both cannot agree wrongly.
    void archives_data() {
        QTest::addColumn<QString>("path"); // without ".arc": the directory of the files it must give
        QTest::newRow("shipped sample") << VX_SOURCE_DIR "/samples/katalog";
        QTest::newRow("reference catalog") << VX_SOURCE_DIR "/../shared/vectors/catalog_small";
        QTest::newRow("reference run-length") << VX_SOURCE_DIR "/../shared/vectors/edge_runlength";
    }
    void archives() {
        QFETCH(QString, path);
        if (!QFile::exists(path + ".arc"))
            QSKIP("reference vectors not found");
        prepare(0);
        QCOMPARE(uncompressArchive(path + ".arc", target), 0);
        for (const QString& file : QDir(path).entryList(QDir::Files))
            QVERIFY2(readFileBytes(target + file) == readFileBytes(path + "/" + file), qPrintable(file));
        QCOMPARE(QDir(target).entryList(QDir::Files).size(), 14); // twelve records, both temporary files
    }
    void slot_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: the archive as packed
        QTest::addColumn<QString>("blocker");  // a directory of this name in the target
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("unpacked"); // -1: the archive's file dialog is cancelled
        prepare(0);
        const QByteArray packed = QByteArray::fromStdString(readFileBytes(archive));
        QTest::newRow("unpacks") << QByteArray() << "" << 1 << 12;
        QTest::newRow("cancel finishes the record") << QByteArray() << "" << 1 << 5;
        QTest::newRow("file dialog cancelled") << QByteArray() << "" << 1 << -1;
        QTest::newRow("directory of records cut short") << packed.left(100) << "" << 0 << 0;
        QTest::newRow("no separator byte") << packed.left(13 * 18) << "" << 0 << 0;
        QTest::newRow("huge size") << packed.left(32) + "\xFF\xFF\xFF\xFF" + packed.mid(36) << "" << 0 << 0;
        QTest::newRow("last record cut short") << packed.chopped(1) << "" << 0 << 11;
        QTest::newRow("record file taken, method 0") << QByteArray() << "F1" << 0 << 0;
        QTest::newRow("record file taken, method 1") << QByteArray() << "F1" << 1 << 0;
        QTest::newRow("huff.tmp taken") << QByteArray() << "huff.tmp" << 1 << 0;
        QTest::newRow("lzss.tmp taken") << QByteArray() << "lzss.tmp" << 1 << 0;
    }
    // A broken archive or a directory in the way is reported and no later record unpacked; otherwise the user
    // cancels after the last record that should be unpacked.
    void slot() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, blocker);
        QFETCH(int, method);
        QFETCH(int, unpacked);
        const bool fails = !bytes.isNull() || !blocker.isEmpty();
        prepare(method);
        if (!bytes.isNull())
            QVERIFY(writeFileBytes(archive, bytes.toStdString()));
        if (fails && bytes.isNull())
            QVERIFY(QDir().mkpath(target + blocker));
        ProgressWatcher progress;
        progress.cancelAt(fails ? "" : "Entpacke F" + QString::number(unpacked));
        MessageBoxCatcher boxes;
        QTimer user; // answers the file dialogs; the directory's trailing "/" is left to the slot
        connect(&user, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                unpacked < 0
                    ? d->reject()
                    : answerFileDialog(d, d->fileMode() == QFileDialog::Directory ? target : archive);
        });
        user.start(0);
        view->slotUncompressCatalog();
        const QStringList texts{
            QString::fromUtf8("Bitte wählen Sie als nächstes das\nVerzeichnis, in das alle "
                              "Dateien entpackt\nwerden sollen."),
            QString::fromUtf8("Die Datei konnte nicht vollständig entpackt werden!")};
        QCOMPARE(boxes.texts(), texts.mid(0, unpacked < 0 ? 0 : fails ? 2 : 1));
        compareWith(unpacked);
    }
};

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
