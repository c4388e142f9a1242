// The decoding stages and whole records: corners of each stage, refused records and the output limits.
#include "support/filebytes.h"
#include "tools/archivepacker.h"
#include "uncompress/extractentry.h"
#include "uncompress/huffman.h"
#include "uncompress/lzss.h"
#include "uncompress/outputlimits.h"
#include "uncompress/runlength.h"

#include <QtTest>
#include <sstream>

using namespace vxtest;
using Tree = QMap<int, QPair<int, int>>; // node -> (zeroChild, oneChild); unnamed nodes hold zeros

class tst_Extract : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    const QString target = work.filePath(QString::fromUtf8("Zielordner äß/")); // not Latin-1 here
    const std::string encodedTarget = QFile::encodeName(target).toStdString();

private slots:
    void init() { QVERIFY(QDir(target).removeRecursively() && QDir().mkpath(target)); }
    // The Huffman stage's corners; whole archives, with long codes and every tail, are unpacked by
    // tst_unpack.
    void huffman_data() {
        QTest::addColumn<Tree>("tree");
        QTest::addColumn<QByteArray>("bits");
        QTest::addColumn<int>("finalBits");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("tokens"); // hex: 00 byte for a literal, 01 length high low for a match
        const auto row = [](const char* name, const Tree& tree, const QByteArray& bits, int finalBits,
                            int status, const QByteArray& tokens) {
            QTest::newRow(name) << tree << bits << finalBits << status << tokens;
        };
        // Codes: 'A' 0, NUL 10, match of length 3 110, 'B' 111; in the bad tree 'B' names no node.
        const Tree t = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), -0x42}}};
        const Tree bad = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), 317}}};
        const QByteArray sevenA = "00 41 00 41 00 41 00 41 00 41 00 41 00 41";
        row("offset ends on byte boundary", t, "0 110 101010111100", 8, 0, "00 41 01 03 0a bc");
        row("final bits wrap", t, "0 110 101010111100", 7, 1, "00 41 01 03 0a bc");
        row("literal runs into last byte", t, "0000000 1 0", 1, 0, sevenA + " 00 00");
        row("match code in last byte", t, "0000000 1 10", 2, 1, sevenA);
        row("walk left inside the tree", t, "0 1", 2, 0, "00 41");
        row("count above 8", t, "0", 9, 1, "");
        row("empty stream", t, "", 8, 0, "");
        row("bad child in the last byte", bad, "0 111", 4, 1, "00 41");
        row("bad child on the table path", bad, "0 0 10 1111 0000 0000 0000 0000 0000", 8, 1,
            "00 41 00 41 00 00");
    }
    // The record: node table, the bits ('0'/'1', others ignored) packed from the top bit down, final-bits
    // byte.
    void huffman() {
        QFETCH(Tree, tree);
        QFETCH(QByteArray, bits);
        QFETCH(int, finalBits);
        QFETCH(int, status);
        QFETCH(QByteArray, tokens);
        std::string data;
        for (int node = 1; node <= 316; ++node)
            for (int value : {0x1234, tree.value(node).first, tree.value(node).second})
                data += {char(value & 0xFF), char((value >> 8) & 0xFF)};
        bits.removeIf([](char c) { return c != '0' && c != '1'; });
        for (qsizetype i = 0; i < bits.size(); i += 8)
            data += char(bits.mid(i, 8).leftJustified(8, '0').toUInt(nullptr, 2));
        data += char(finalBits);
        QTemporaryDir dir;
        std::istringstream archive(data + "\x77"); // the next record's first byte, not to be taken
        QCOMPARE(decodeHuffmanEntry(archive, QFile::encodeName(dir.path() + "/").toStdString(),
                                    {"X", "", 1, std::uint32_t(data.size())}),
                 status);
        QCOMPARE(hexOf(readFileBytes(dir.path() + "/huff.tmp")), tokens);
        if (status == 0)
            QCOMPARE(archive.get(), 0x77);
    }
    // The LZSS stage's corners; whole archives, whose matches wrap the window, are unpacked by tst_unpack.
    void lzss_data() {
        QTest::addColumn<QByteArray>("huff"); // hex tokens: 00 byte, or flag length high low; null: no file
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, const QByteArray& huff, const QByteArray& out) {
            QTest::newRow(name) << huff << out;
        };
        row("no token file", QByteArray(), "");
        row("match into the zero window", "01 03 00 05", "00 00 00");
        // The match reads the window as it was before it: positions 2 and 3 were not written yet.
        row("offset below length", "00 41 00 42 01 04 00 02", "41 42 41 42 00 00");
        row("any nonzero flag is a match", "00 41 02 01 00 01 FF 01 00 02", "41 41 41");
        row("length 0 writes nothing", "00 41 01 00 00 01 00 42", "41 42");
        row("offset taken modulo 4096", "00 41 01 02 10 01", "41 41 00");
        row("offset 0 reads the oldest byte", "00 41 01 02 00 00", "41 00 00");
        row("cut literal", "00 41 00", "41");
        row("cut match", "00 41 01 03 00", "41");
    }
    void lzss() {
        QFETCH(QByteArray, huff);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        if (!huff.isNull())
            QVERIFY(writeFileBytes(dir.path() + "/huff.tmp", hexBytes(huff.constData())));
        QCOMPARE(decodeLzssTemp(QFile::encodeName(dir.path() + "/").toStdString()), huff.isNull() ? 1 : 0);
        QCOMPARE(hexOf(readFileBytes(dir.path() + "/lzss.tmp")), expected);
    }
    // The run-length stage's record ends and corners; plain runs, escapes and long counts are in the
    // reference vectors.
    void runLength_data() {
        QTest::addColumn<int>("method");    // 0: the record in the archive; 1: "lzss.tmp"
        QTest::addColumn<QByteArray>("in"); // hex; with method 0 the record is the first `size` bytes
        QTest::addColumn<uint>("size");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, int method, const char* in, uint size, int status,
                            const char* out) {
            QTest::newRow(name) << method << QByteArray(in) << size << status << QByteArray(out);
        };
        row("0: run of an escape", 0, "90 90 90 02", 4, 0, "90 90 90");
        row("0: run before any byte", 0, "90 03 42", 3, 0, "00 00 00 42");
        row("0: empty record", 0, "41", 0, 0, "");
        row("0: archive ends early", 0, "41 42", 5, 1, "41 42");
        row("0: archive ends inside escape", 0, "41 90", 2, 1, "41");
        // The pair's second byte belongs to the next record and stays there.
        row("0: escape at record end", 0, "41 90 03", 2, 1, "41");
        row("1: run of an escape", 1, "90 00 90 02", 0, 0, "90 90 90");
        row("1: run before any byte", 1, "90 02", 0, 0, "00 00");
        row("1: pair cut off", 1, "41 90", 0, 0, "41");
    }
    void runLength() {
        QFETCH(int, method);
        QFETCH(QByteArray, in);
        QFETCH(uint, size);
        QFETCH(int, status);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const std::string target = QFile::encodeName(dir.path() + "/").toStdString();
        std::istringstream archive(hexBytes(in.constData()));
        if (method == 0) {
            QCOMPARE(decodeRunLengthEntry(archive, target, {"OUT", "BIN", 0, size}), status);
            archive.clear(); // never a byte beyond the record: it belongs to the next one
            QCOMPARE(std::size_t(archive.tellg()), std::min<std::size_t>(size, archive.str().size()));
        } else {
            QVERIFY(writeFileBytes(dir.path() + "/lzss.tmp", archive.str()));
            QCOMPARE(decodeRunLengthTemp(target, {"OUT", "BIN", 1, 0}), status);
        }
        QCOMPARE(hexOf(readFileBytes(dir.path() + "/OUT.BIN")), expected);
    }
    void writeFailureIsReported() {
        std::istringstream in(std::string(200000, 'a')); // more than one block of output, none of which fits
        QCOMPARE(decodeRunLengthEntry(in, "/dev/", {"full", "", 0, 200000}), 1);
    }
    // An unknown method, or a name that leaves the target or overwrites a temporary file of the stages.
    void refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("method");
        for (int method : {2, -128, -1})
            QTest::addRow("method %d", method) << "X" << QString() << method;
        const char* names[][2] = {{"../BOESE", ""}, {"A\\B", ""}, {"A", "/B"},     {".", ""},
                                  {"..", ""},       {"", "X"},    {"huff", "tmp"}, {"lzss", "tmp"}};
        for (const auto& name : names)
            QTest::addRow("%s.%s", name[0], name[1]) << name[0] << name[1] << 1;
    }
    void refused() {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(int, method);
        std::istringstream archive(encodeEntry({"X", "", method, "boese", false}));
        const ArchiveEntry entry{name.toStdString(), extension.toStdString(), method,
                                 std::uint32_t(archive.str().size())};
        QCOMPARE(isSafeEntryName(entry), method != 1);
        QCOMPARE(extractEntry(archive, encodedTarget, entry), 1);
        QCOMPARE(archive.tellg(), std::streampos(0));
        QVERIFY(QDir(target).isEmpty());
        QCOMPARE(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    }
    // A method-1 record too short for its node table: the later stages must not run on the failed tokens.
    void failedStageStops() {
        std::istringstream archive("smaller than a node table");
        QCOMPARE(extractEntry(archive, encodedTarget, {"KLEIN", "", 1, 25}), 1);
        QVERIFY(!QFile::exists(target + "KLEIN"));
    }
    // Three MiB of zeros pack into a few hundred bytes: a record must stop with the failure status before a
    // file passes the size limit or the free space would drop below its minimum, and succeed up to both.
    void outputLimits_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<quint64>("maxFile");
        QTest::addColumn<quint64>("freeBytes");
        QTest::addColumn<int>("status");
        const quint64 MiB = 1 << 20, plenty = quint64(1) << 40;
        for (int method : {0, 1}) {
            QTest::addRow("method %d: the size exactly", method) << method << 3 * MiB << plenty << 0;
            QTest::addRow("method %d: a byte more than allowed", method)
                << method << 3 * MiB - 1 << plenty << 1;
            QTest::addRow("method %d: too little free before", method)
                << method << plenty << 64 * MiB - 1 << 1;
            QTest::addRow("method %d: free space would run short", method)
                << method << plenty << 66 * MiB << 1;
            QTest::addRow("method %d: just enough free", method) << method << plenty << 68 * MiB << 0;
        }
    }
    void outputLimits() {
        QFETCH(int, method);
        QFETCH(quint64, maxFile);
        QFETCH(quint64, freeBytes);
        QFETCH(int, status);
        const std::string zeros(3 << 20, '\0');
        std::istringstream archive(encodeEntry({"NULL", "", method, zeros, false}));
        OutputLimits limits;
        limits.maxFileBytes = maxFile;
        limits.checkInterval = 1 << 20;
        // A file system with freeBytes free before the record: what the record writes comes off it.
        limits.freeBytes = [freeBytes, this](const std::string&) {
            quint64 written = 0;
            for (const QFileInfo& file : QDir(target).entryInfoList(QDir::Files))
                written += quint64(file.size());
            return freeBytes - written;
        };
        setOutputLimits(limits);
        const int result =
            extractEntry(archive, encodedTarget, {"NULL", "", method, std::uint32_t(archive.str().size())});
        setOutputLimits(OutputLimits());
        QCOMPARE(result, status);
        QVERIFY(QFileInfo(target + "NULL").size() <= qint64(std::min<quint64>(maxFile, 3 << 20)));
        QCOMPARE(QFileInfo(target + "NULL").size() == 3 << 20, status == 0);
    }
    // The real file system's free space: a small tmpfs (where this process may mount one) takes a record
    // that leaves 64 MiB free and refuses one that would not.
    void freeSpaceOfTheFileSystem() {
        const QString mountPoint = work.filePath("klein");
        if (!QDir().mkpath(mountPoint) ||
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=70m", "tmpfs", mountPoint}) != 0)
            QSKIP("cannot mount a tmpfs here");
        QString results;
        for (const auto& [name, mib] : {std::pair{"KLEIN", 4}, {"GROSS", 8}}) {
            std::istringstream archive(
                encodeEntry({name, "", 1, std::string(std::size_t(mib) << 20, 'x'), false}));
            results +=
                QString::number(extractEntry(archive, QFile::encodeName(mountPoint).toStdString() + "/",
                                             {name, "", 1, std::uint32_t(archive.str().size())}));
        }
        QProcess::execute("umount", {mountPoint});
        QCOMPARE(results, "01");
    }
};

QTEST_APPLESS_MAIN(tst_Extract)
#include "tst_extract.moc"
