#include "support/filebytes.h"
#include "support/modal.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/extractentry.h"
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

using namespace vxtest;

namespace {

// Catalog-like text with 0x90 and NUL runs in it; kinds "random", "escapes" and "runs" stress the codes.
std::string content(const QString& kind, std::size_t size, quint32 seed = 3) {
    static const char* const words[] = {"Widerstand ", "Kondensator ", "10k ",   "\x90",    "\n",
                                        "Diode ",      "1N4148 ",      "BC547 ", "\0\0\0\0"};
    QRandomGenerator random(seed);
    std::string out;
    for (std::size_t i = 0; out.size() < size; ++i) {
        if (kind == "random")
            out += static_cast<char>(random.bounded(256));
        else if (kind == "escapes")
            out += static_cast<char>(i % 7 == 3 ? 'e' : 0x90);
        else if (kind == "runs")
            out += static_cast<char>((i / 300) % 3 == 0 ? 0x90 : (i / 300) & 0xFF);
        else if (const char* w = words[random.bounded(9)])
            out.append(w, w[0] ? std::strlen(w) : 4);
    }
    out.resize(size);
    return out;
}

std::vector<PackEntry> twelve(int method) {
    std::vector<PackEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back({"F" + std::to_string(i), "", method, content("text", 50u * i, i), false});
    return entries;
}

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

    void prepare(const std::string& archive) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        writeFileBytes(archivePath(), archive);
    }
    int unpack(const std::string& archive) {
        prepare(archive);
        return uncompressArchive(archivePath(), target());
    }
    // The first count records are unpacked exactly, the others not at all.
    void compareWith(const std::vector<PackEntry>& entries, std::size_t count) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const QString path =
                target() +
                QString::fromLatin1(entryFileName({entries[i].name, entries[i].extension, 0, 0}).c_str());
            QVERIFY2(i < count ? readFileBytes(path) == entries[i].bytes : !QFile::exists(path),
                     qPrintable(path));
        }
    }

private slots:
    void referenceVectors_data();
    void referenceVectors();
    void shippedSample();
    void roundTrip_data();
    void roundTrip();
    void everyTailLength();
    void catalogSet();
    void cancelFinishesTheRecord();
    void refusedRecord_data();
    void refusedRecord();
    void unreadableArchives_data();
    void unreadableArchives();
    void truncatedEverywhere();
    void randomArchives();
    void slot_data();
    void slot();
};

void tst_Unpack::referenceVectors_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("catalog") << "catalog_small";
    QTest::newRow("run-length edges") << "edge_runlength";
}

void tst_Unpack::referenceVectors() {
    QFETCH(QString, name);
    const QString expectedDir = VX_SOURCE_DIR "/../shared/vectors/" + name;
    if (!QFile::exists(expectedDir + ".arc"))
        QSKIP("reference vectors not found");
    prepare({});
    QCOMPARE(uncompressArchive(expectedDir + ".arc", target()), 0);
    const QStringList expected = filesIn(expectedDir);
    QCOMPARE(expected.size(), 12);
    for (const QString& file : expected)
        QVERIFY2(readFileBytes(target() + file) == readFileBytes(expectedDir + "/" + file), qPrintable(file));
    QCOMPARE(filesIn(target()).size(), 14); // and the two temporary files
}

// The archive a new user tries first must give back the sample catalog.
void tst_Unpack::shippedSample() {
    prepare({});
    QCOMPARE(uncompressArchive(VX_SOURCE_DIR "/samples/katalog.arc", target()), 0);
    for (const char* file : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"})
        QVERIFY2(readFileBytes(target() + file) == readFileBytes(VX_SOURCE_DIR "/samples/katalog/" + QString(file)),
                 file);
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
    const auto stored = static_cast<std::uint32_t>(archive.str().size());
    prepare({});
    QCOMPARE(
        extractEntry(archive, QFile::encodeName(target()).toStdString(), {"DATEN", "BIN", method, stored}),
        0);
    QVERIFY(readFileBytes(target() + "DATEN.BIN") == packed.bytes);
}

void tst_Unpack::everyTailLength() {
    // The packer must keep match codes out of the bit stream's last byte, whatever length the stream has.
    prepare({});
    for (std::size_t size = 0; size < 700; ++size) {
        const std::string data = content("text", size, static_cast<quint32>(size));
        std::istringstream archive(encodeMethod1(data));
        const ArchiveEntry entry{"T", "", 1, static_cast<std::uint32_t>(archive.str().size())};
        QCOMPARE(extractEntry(archive, QFile::encodeName(target()).toStdString(), entry), 0);
        QVERIFY2(readFileBytes(target() + "T") == data, qPrintable(QString::number(size)));
    }
}

void tst_Unpack::catalogSet() {
    std::vector<PackEntry> entries = twelve(1);
    const char* names[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART", "NEUNZEICH", "LEER"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].name = i < 6 ? names[i] : entries[i].name;
        entries[i].method = i % 3 == 1 ? 0 : 1;
        entries[i].bytes = content(i < 4 ? "text" : i % 3 == 0 ? "escapes" : "runs", i == 5 ? 0 : 9000 * i);
    }
    QCOMPARE(unpack(packArchive(entries)), 0);
    compareWith(entries, entries.size());
    // The temporary files are those of the last method-1 record.
    QVERIFY(readFileBytes(target() + "lzss.tmp") == encodeRunLength1(entries[11].bytes));
}

void tst_Unpack::cancelFinishesTheRecord() {
    std::vector<PackEntry> entries = twelve(1);
    entries[4].name = "LEER"; // no extension: the label shows the name alone
    entries[4].bytes = content("text", 400000);
    QString labelWhenCancelled;
    answerModalWhen(
        [](QWidget* w) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            return progress && progress->objectName() == "progress" &&
                   progress->labelText() == "Entpacke LEER";
        },
        [&](QWidget* w) {
            labelWhenCancelled = static_cast<QProgressDialog*>(w)->labelText();
            w->findChild<QPushButton*>()->click();
        });
    QCOMPARE(unpack(packArchive(entries)), 0);
    QCOMPARE(labelWhenCancelled, QString("Entpacke LEER"));
    compareWith(entries, 5);
}

void tst_Unpack::refusedRecord_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("method");
    QTest::newRow("method 2") << "X"
                              << "" << 2;
    QTest::newRow("method 0x80") << "X"
                                 << "" << 0x80;
    QTest::newRow("method 0xFF") << "X"
                                 << "" << 0xFF;
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

void tst_Unpack::refusedRecord() {
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(int, method);
    std::vector<PackEntry> entries = twelve(0);
    entries[0].name = "GUT";
    entries[1] = {name.toStdString(), extension.toStdString(), method, "boese", false};
    QCOMPARE(unpack(packArchive(entries)), 1);
    QCOMPARE(filesIn(target()), QStringList{"GUT"});
    QCOMPARE(filesIn(work.path()), (QStringList{QString::fromUtf8("Zielordner äß"), "archive.arc"}));
}

void tst_Unpack::unreadableArchives_data() {
    QTest::addColumn<QByteArray>("archive"); // empty: the path names a directory
    std::string hugeMethod0 = packArchive(twelve(0)), hugeMethod1 = packArchive(twelve(1));
    hugeMethod0.replace(18 + 14, 4, "\xFF\xFF\xFF\xFF");
    hugeMethod1.replace(18 + 14, 4, "\xFF\xFF\xFF\xFF");
    QTest::newRow("directory") << QByteArray();
    std::vector<PackEntry> tiny = twelve(0);
    tiny[0] = {"KLEIN", "", 1, "smaller than a node table", true};
    QTest::newRow("method 1 below its node table") << QByteArray::fromStdString(packArchive(tiny));
    // Twelve empty records need no data, but the byte between directory and data is missing.
    QTest::newRow("no separator byte") << QByteArray::fromStdString(
        packArchive(std::vector<PackEntry>(12, {"E", "", 0, "", false})).substr(0, 234));
    QTest::newRow("huge size, method 0") << QByteArray::fromStdString(hugeMethod0);
    QTest::newRow("huge size, method 1") << QByteArray::fromStdString(hugeMethod1);
}

void tst_Unpack::unreadableArchives() {
    QFETCH(QByteArray, archive);
    prepare(archive.toStdString());
    QCOMPARE(uncompressArchive(archive.isEmpty() ? target() : archivePath(), target()), 1);
}

void tst_Unpack::truncatedEverywhere() {
    std::vector<PackEntry> entries = twelve(0);
    entries[0].bytes = "\x90\x41\x41\x41\x41\x90\x90";
    entries[1] = {"ZWEI", "", 1, content("text", 300), false};
    entries[2] = {"DREI", "", 1, "", false};
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
            std::string bytes = content("random", random.bounded(i % 3 == 0 ? 2500 : 40), random.generate());
            // Node tables with children mostly in range, so that walks go deep, loop and meet leaves.
            for (std::size_t k = 2; bytes.size() > 1896 && round % 2 == 0 && k < 1896; k += 2) {
                const int child = k % 6 == 0 ? 0 : static_cast<int>(random.bounded(-320, 320));
                bytes[k] = static_cast<char>(child & 0xFF);
                bytes[k + 1] = static_cast<char>((child >> 8) & 0xFF);
            }
            entries.push_back(
                {"R" + std::to_string(i), "", static_cast<int>(random.bounded(2)), bytes, true});
        }
        std::string archive = packArchive(entries);
        if (round % 3 == 0) // a random size byte
            archive[18 * random.bounded(1, 13) + 14 + random.bounded(4)] =
                static_cast<char>(random.bounded(256));
        const int status = unpack(archive);
        QVERIFY(status == 0 || status == 1);
    }
}

void tst_Unpack::slot_data() {
    QTest::addColumn<bool>("broken");
    QTest::addColumn<bool>("chooseArchive");
    QTest::addColumn<QStringList>("boxes"); // caption: text of each message box, in order
    const QString hint = QString::fromUtf8("Vendrix: Bitte wählen Sie als nächstes das\nVerzeichnis, in das "
                                           "alle Dateien entpackt\nwerden sollen.");
    QTest::newRow("unpacks") << false << true << QStringList{hint};
    QTest::newRow("warns") << true << true
                           << QStringList{
                                  hint, QString::fromUtf8(
                                            "Vendrix: Die Datei konnte nicht vollständig entpackt werden!")};
    QTest::newRow("file dialog cancelled") << false << false << QStringList{};
}

void tst_Unpack::slot() {
    QFETCH(bool, broken);
    QFETCH(bool, chooseArchive);
    QFETCH(QStringList, boxes);
    std::vector<PackEntry> entries = twelve(1);
    if (broken)
        entries[5].method = 7;
    prepare(packArchive(entries));
    vxCentralWidget view(nullptr, "view");
    // The user answers every modal widget that comes up during the slot.
    QStringList shown;
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            shown << box->windowTitle() + ": " + box->text() +
                         (box->parentWidget() == &view ? "" : " (no parent)");
            box->defaultButton()->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
            if (dialog->fileMode() == QFileDialog::Directory)
                answerFileDialog(dialog, target()); // its trailing "/" is typed away and added by the slot
            else if (chooseArchive)
                answerFileDialog(dialog, archivePath());
            else
                dialog->reject();
        }
    });
    user.start(0);
    view.slotUncompressCatalog();
    QCOMPARE(shown, boxes);
    compareWith(entries, broken ? 5 : chooseArchive ? 12 : 0);
}

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
