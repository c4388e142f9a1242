#include "support/filebytes.h"
#include "support/modal.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/uncompress.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <sstream>

namespace {

const QString VectorsDir = QStringLiteral(VX_SOURCE_DIR "/../shared/vectors");

std::string textLike(std::size_t size, quint32 seed) {
    static const char* const words[] = {"Widerstand ", "Kondensator ", "10k ",        "0,25W ",
                                        "SMD ",        "\x90",         "\n",          "Diode ",
                                        "1N4148 ",     "\0\0\0\0",     "Transistor ", "BC547 "};
    QRandomGenerator random(seed);
    std::string out;
    while (out.size() < size) {
        const char* w = words[random.bounded(12)];
        out.append(w, w[0] ? std::strlen(w) : 4);
    }
    out.resize(size);
    return out;
}

std::string content(const QString& kind, std::size_t size) {
    QRandomGenerator random(static_cast<quint32>(size));
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        if (kind == "random")
            out[i] = static_cast<char>(random.bounded(256));
        else if (kind == "escapes")
            out[i] = static_cast<char>(i % 7 == 3 ? 'e' : 0x90);
        else if (kind == "runs")
            out[i] = static_cast<char>((i / 300) % 3 == 0 ? 0x90 : (i / 300) & 0xFF);
    }
    return kind == "text" ? textLike(size, 3) : out;
}

std::vector<PackEntry> twelve(int method, const std::string& prefix = "F") {
    std::vector<PackEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back(
            {prefix + QByteArray::number(i).toStdString(), "", method, content("text", 50u * i), false});
    return entries;
}

// Names of the files in dir.
QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class tst_Unpack : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    QString archivePath() const { return work.path() + "/archive.arc"; }
    // Not Latin-1 on this file system: paths must go through QFile::encodeName.
    QString target() const { return work.path() + QString::fromUtf8("/Zielordner äß/"); }

    // Writes archive, unpacks it into a fresh target directory through the driver and returns its status.
    int unpack(const std::string& archive) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        writeFileBytes(archivePath(), archive);
        return uncompressArchive(archivePath(), target());
    }
    void compareWith(const std::vector<PackEntry>& entries, std::size_t count) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ArchiveEntry e{entries[i].name, entries[i].extension, entries[i].method, 0};
            const QString path = target() + QString::fromLatin1(entryFileName(e).c_str());
            if (i < count)
                QVERIFY2(readFileBytes(path) == entries[i].bytes, qPrintable(path));
            else
                QVERIFY2(!QFile::exists(path), qPrintable(path));
        }
    }

private slots:
    void referenceVectors_data();
    void referenceVectors();
    void roundTrip_data();
    void roundTrip();
    void everyTailLength();
    void catalogSet();
    void unknownMethod_data();
    void unknownMethod();
    void cancelFinishesTheRecord();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void unreadableArchives_data();
    void unreadableArchives();
    void truncatedEverywhere();
    void randomArchives();
    void slotUnpacks();
    void slotWarnsOnFailure();
    void slotStopsWhenDialogCancelled();
};

void tst_Unpack::referenceVectors_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("catalog") << "catalog_small";
    QTest::newRow("run-length edges") << "edge_runlength";
}

void tst_Unpack::referenceVectors() {
    QFETCH(QString, name);
    const QString expectedDir = VectorsDir + "/" + name;
    if (!QFile::exists(expectedDir + ".arc"))
        QSKIP("reference vectors not found");
    QDir(target()).removeRecursively();
    QDir().mkpath(target());
    QCOMPARE(uncompressArchive(expectedDir + ".arc", target()), 0);
    const QStringList expected = filesIn(expectedDir);
    QCOMPARE(expected.size(), 12);
    for (const QString& file : expected)
        QVERIFY2(readFileBytes(target() + file) == readFileBytes(expectedDir + "/" + file), qPrintable(file));
    QCOMPARE(filesIn(target()).size(), 14); // and the two temporary files
}

void tst_Unpack::roundTrip_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("size");
    for (int method : {0, 1})
        for (const char* kind : {"random", "escapes", "runs", "text"})
            for (int size : {0, 1, 7, 8, 9, 5000, 1500000})
                QTest::addRow("method %d, %s, %d", method, kind, size) << method << QString(kind) << size;
}

void tst_Unpack::roundTrip() {
    QFETCH(int, method);
    QFETCH(QString, kind);
    QFETCH(int, size);
    const PackEntry packed{"DATEN", "BIN", method, content(kind, static_cast<std::size_t>(size)), false};
    std::istringstream archive(encodeEntry(packed));
    QTemporaryDir dir;
    QCOMPARE(extractEntry(archive, QFile::encodeName(dir.path() + "/").toStdString(),
                          {"DATEN", "BIN", method, static_cast<std::uint32_t>(archive.str().size())}),
             0);
    QVERIFY(readFileBytes(dir.path() + "/DATEN.BIN") == packed.bytes);
}

void tst_Unpack::everyTailLength() {
    // The packer must keep match codes out of the stream's last byte whatever length the stream has.
    QTemporaryDir dir;
    const std::string targetDir = QFile::encodeName(dir.path() + "/").toStdString();
    for (std::size_t size = 0; size < 700; ++size) {
        const std::string data = textLike(size, static_cast<quint32>(size));
        const std::string code = encodeMethod1(data);
        std::istringstream archive(code);
        QCOMPARE(extractEntry(archive, targetDir, {"T", "", 1, static_cast<std::uint32_t>(code.size())}), 0);
        QVERIFY2(readFileBytes(dir.path() + "/T") == data, qPrintable(QString::number(size)));
    }
}

void tst_Unpack::catalogSet() {
    std::vector<PackEntry> entries = {{"WGHAUPT", "", 1, textLike(397, 1), false},
                                      {"WGOBER", "", 0, textLike(584, 2), false},
                                      {"WGGRUPPE", "", 1, textLike(764, 3), false},
                                      {"ART", "", 1, textLike(75000, 4), false},
                                      {"LIESMICH", "TXT", 0, content("escapes", 3000), false},
                                      {"NEUNZEICH", "", 1, content("runs", 9000), false},
                                      {"LEER", "", 0, "", false},
                                      {"LEER1", "", 1, "", false},
                                      {"ZUFALL", "BIN", 1, content("random", 20000), false},
                                      {"EINS", "X", 0, "\x90", false},
                                      {"ALLE", "BIN", 1, content("runs", 256), false},
                                      {"LETZT", "DAT", 0, textLike(100, 5), false}};
    QCOMPARE(unpack(packArchive(entries)), 0);
    compareWith(entries, entries.size());
    // The temporary files are those of the last method-1 record.
    QVERIFY(readFileBytes(target() + "lzss.tmp") == encodeRunLength1(entries[10].bytes));
}

void tst_Unpack::unknownMethod_data() {
    QTest::addColumn<int>("method");
    QTest::newRow("2") << 2;
    QTest::newRow("0x80") << 0x80;
    QTest::newRow("0xFF") << 0xFF;
}

void tst_Unpack::unknownMethod() {
    QFETCH(int, method);
    std::vector<PackEntry> entries = twelve(0);
    entries[2].method = method;
    QCOMPARE(unpack(packArchive(entries)), 1);
    compareWith(entries, 2);
}

void tst_Unpack::cancelFinishesTheRecord() {
    std::vector<PackEntry> entries = twelve(1);
    entries[4].name = "LEER"; // no extension: the label shows the name alone
    entries[4].bytes = textLike(400000, 9);
    QString shownWhenCancelled;
    answerModalWhen(
        [](QWidget* w) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            return progress && progress->objectName() == "progress" &&
                   progress->labelText() == "Entpacke LEER";
        },
        [&](QWidget* w) {
            auto* progress = static_cast<QProgressDialog*>(w);
            shownWhenCancelled = progress->labelText();
            progress->findChild<QPushButton*>()->click();
        });
    QCOMPARE(unpack(packArchive(entries)), 0);
    QCOMPARE(shownWhenCancelled, QString("Entpacke LEER"));
    compareWith(entries, 5);
}

void tst_Unpack::unsafeNamesAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("method");
    QTest::newRow("parent path") << "../BOESE"
                                 << "" << 0;
    QTest::newRow("slash") << "A/B"
                           << "" << 1;
    QTest::newRow("backslash") << "A\\B"
                               << "" << 0;
    QTest::newRow("slash in extension") << "A"
                                        << "/B" << 0;
    QTest::newRow("dot") << "."
                         << "" << 0;
    QTest::newRow("dot dot") << ".."
                             << "" << 1;
    QTest::newRow("empty") << ""
                           << "X" << 0;
    QTest::newRow("huff.tmp") << "huff"
                              << "tmp" << 1;
    QTest::newRow("lzss.tmp") << "lzss"
                              << "tmp" << 1;
}

void tst_Unpack::unsafeNamesAreRefused() {
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(int, method);
    std::vector<PackEntry> entries = twelve(0);
    entries[0].name = "GUT";
    entries[1] = {name.toStdString(), extension.toStdString(), method, "boese", false};
    QDir(work.path() + "/A").removeRecursively();
    QCOMPARE(unpack(packArchive(entries)), 1);
    QCOMPARE(filesIn(target()), QStringList{"GUT"});
    QCOMPARE(filesIn(work.path()), (QStringList{QString::fromUtf8("Zielordner äß"), "archive.arc"}));
}

void tst_Unpack::unreadableArchives_data() {
    QTest::addColumn<QByteArray>("archive"); // empty: the path names a directory
    QTest::addColumn<bool>("isDirectory");
    const QByteArray whole = QByteArray::fromStdString(packArchive(twelve(0)));
    QTest::newRow("directory") << QByteArray() << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("directory cut") << whole.left(100) << false;
    // Twelve empty records need no data, but the byte between directory and data is missing.
    QTest::newRow("no separator byte")
        << QByteArray::fromStdString(packArchive(std::vector<PackEntry>(12, {"E", "", 0, "", false})))
               .left(234)
        << false;
    std::string huge = packArchive(twelve(0));
    huge[18 + 14] = huge[18 + 15] = huge[18 + 16] = huge[18 + 17] = '\xFF';
    QTest::newRow("huge size, method 0") << QByteArray::fromStdString(huge) << false;
    std::vector<PackEntry> method1 = twelve(1);
    huge = packArchive(method1);
    huge[18 + 14] = huge[18 + 15] = huge[18 + 16] = huge[18 + 17] = '\xFF';
    QTest::newRow("huge size, method 1") << QByteArray::fromStdString(huge) << false;
}

void tst_Unpack::unreadableArchives() {
    QFETCH(QByteArray, archive);
    QFETCH(bool, isDirectory);
    QDir(target()).removeRecursively();
    QDir().mkpath(target());
    if (isDirectory) {
        QCOMPARE(uncompressArchive(target(), target()), 1);
        return;
    }
    writeFileBytes(archivePath(), archive.toStdString());
    QCOMPARE(uncompressArchive(archivePath(), target()), 1);
}

void tst_Unpack::truncatedEverywhere() {
    std::vector<PackEntry> entries = twelve(0);
    entries[0].bytes = "\x90\x41\x41\x41\x41\x90\x90";
    entries[1] = {"ZWEI", "", 1, textLike(300, 1), false};
    entries[2].method = 1;
    entries[2].bytes = "";
    const std::string whole = packArchive(entries);
    QCOMPARE(unpack(whole), 0);
    // Every cut, except that within a node table (one code path for all its bytes) every 37th will do.
    const std::size_t table = 235 + encodeEntry(entries[0]).size();
    for (std::size_t size = 0; size<whole.size(); size += size> table && size < table + 1896 ? 37 : 1)
        QVERIFY2(unpack(whole.substr(0, size)) == 1, qPrintable(QString::number(size)));
}

void tst_Unpack::randomArchives() {
    QRandomGenerator random(11);
    for (int round = 0; round < 150; ++round) {
        std::vector<PackEntry> entries;
        for (int i = 0; i < 12; ++i) {
            std::string bytes(random.bounded(i % 3 == 0 ? 2500 : 40), '\0');
            for (char& c : bytes)
                c = static_cast<char>(random.bounded(256));
            // Node tables with children mostly in range, so that walks go deep, loop and meet leaves.
            if (bytes.size() > 1896 && round % 2 == 0)
                for (std::size_t k = 2; k + 1 < 1896; k += 2) {
                    const int child = k % 6 == 0 ? 0 : static_cast<int>(random.bounded(-320, 320));
                    bytes[k] = static_cast<char>(child & 0xFF);
                    bytes[k + 1] = static_cast<char>((child >> 8) & 0xFF);
                }
            entries.push_back(
                {"R" + std::to_string(i), "", static_cast<int>(random.bounded(2)), bytes, true});
        }
        std::string archive = packArchive(entries);
        if (round % 3 == 0)
            archive[18 * random.bounded(1, 13) + 14 + random.bounded(4)] =
                static_cast<char>(random.bounded(256));
        const int status = unpack(archive);
        QVERIFY(status == 0 || status == 1);
    }
}

void tst_Unpack::slotUnpacks() {
    const std::vector<PackEntry> entries = twelve(1);
    writeFileBytes(archivePath(), packArchive(entries));
    QDir(target()).removeRecursively();
    QDir().mkpath(target());
    vxCentralWidget view(nullptr, "view");
    QString caption, text;
    acceptNextFileDialog(archivePath());
    answerModalWhen([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                    [&](QWidget* w) {
                        auto* box = static_cast<QMessageBox*>(w);
                        caption = box->windowTitle();
                        text = box->text();
                        QCOMPARE(box->parentWidget(), &view);
                        box->defaultButton()->click();
                        // The directory without its trailing "/": the slot adds it.
                        acceptNextFileDialog(target().chopped(1));
                    });
    view.slotUncompressCatalog();
    QCOMPARE(caption, QString("Vendrix"));
    QCOMPARE(
        text,
        QString(
            "Bitte wählen Sie als nächstes das\nVerzeichnis, in das alle Dateien entpackt\nwerden sollen."));
    compareWith(entries, entries.size());
}

void tst_Unpack::slotWarnsOnFailure() {
    std::vector<PackEntry> entries = twelve(0);
    entries[5].method = 7;
    writeFileBytes(archivePath(), packArchive(entries));
    QDir(target()).removeRecursively();
    QDir().mkpath(target());
    vxCentralWidget view(nullptr, "view");
    QStringList boxes;
    const auto answerBox = [&](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        boxes << box->windowTitle() + ": " + box->text();
        box->defaultButton()->click();
    };
    const auto isBox = [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; };
    acceptNextFileDialog(archivePath());
    answerModalWhen(isBox, [&](QWidget* w) {
        answerBox(w);
        acceptNextFileDialog(target());
        answerModalWhen(isBox, answerBox);
    });
    view.slotUncompressCatalog();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[1], QString("Vendrix: Die Datei konnte nicht vollständig entpackt werden!"));
    compareWith(entries, 5);
}

void tst_Unpack::slotStopsWhenDialogCancelled() {
    vxCentralWidget view(nullptr, "view");
    int modals = 0;
    // Anything after the cancelled file dialog would be a fault; count and close it.
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
        if (auto* w = QApplication::activeModalWidget(); w && !qobject_cast<QFileDialog*>(w)) {
            ++modals;
            static_cast<QDialog*>(w)->reject();
        }
    });
    watcher.start(0);
    rejectNextModal();
    view.slotUncompressCatalog();
    QCOMPARE(modals, 0);
}

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
