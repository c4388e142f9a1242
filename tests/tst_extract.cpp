#include "support/filebytes.h"
#include "tools/archivepacker.h"
#include "uncompress/extractentry.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

using namespace vxtest;

class tst_Extract : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString target;
    std::string encodedTarget() const { return QFile::encodeName(target).toStdString(); }
    QStringList filesIn(const QString& dir) const {
        return QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
    // Records 1 to 12 of an archive, unpacked as the driver does it, into a fresh target.
    int unpack(const QString& archivePath) {
        std::ifstream archive(QFile::encodeName(archivePath).toStdString(), std::ios::binary);
        std::vector<ArchiveEntry> entries(13);
        for (ArchiveEntry& entry : entries)
            if (!readEntry(archive, entry))
                return -1;
        archive.get();
        for (std::size_t i = 1; i < entries.size(); ++i)
            if (extractEntry(archive, encodedTarget(), entries[i]) != 0)
                return int(i);
        return 0;
    }

private slots:
    void init() {
        // Not Latin-1 on this file system: paths must go through QFile::encodeName.
        target = work.filePath(QString::fromUtf8("Zielordner äß/"));
        QDir(target).removeRecursively();
        QDir().mkpath(target);
    }
    void refused_data();
    void refused();
    void failedStageStops();
    void archives_data();
    void archives();
};

void tst_Extract::refused_data() {
    // An unknown method, or a name that leaves the target or overwrites a temporary file of the stages.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("method");
    for (int method : {2, -128, -1})
        QTest::addRow("method %d", method) << "X"
                                           << "" << method;
    const char* names[][2] = {{"../BOESE", ""}, {"A/B", ""}, {"A\\B", ""},    {"A", "/B"},    {".", ""},
                              {"..", ""},       {"", "X"},   {"huff", "tmp"}, {"lzss", "tmp"}};
    for (const auto& name : names)
        for (int method : {0, 1})
            QTest::addRow("%s.%s, method %d", name[0], name[1], method) << name[0] << name[1] << method;
}

void tst_Extract::refused() {
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(int, method);
    std::istringstream archive(encodeEntry({"X", "", method, "boese", false}));
    const ArchiveEntry entry{name.toStdString(), extension.toStdString(), method,
                             std::uint32_t(archive.str().size())};
    QCOMPARE(isSafeEntryName(entry), method >= 2 || method < 0);
    QCOMPARE(extractEntry(archive, encodedTarget(), entry), 1);
    QCOMPARE(archive.tellg(), std::streampos(0));
    QCOMPARE(filesIn(target), QStringList());
    QCOMPARE(filesIn(work.path()), QStringList(QString::fromUtf8("Zielordner äß")));
}

void tst_Extract::failedStageStops() {
    // A method-1 record too short for its node table: the later stages must not run on the failed tokens.
    std::istringstream archive("smaller than a node table");
    QCOMPARE(extractEntry(archive, encodedTarget(), {"KLEIN", "", 1, 25}), 1);
    QVERIFY(!QFile::exists(target + "KLEIN"));
}

void tst_Extract::archives_data() {
    QTest::addColumn<QString>("vector"); // a reference vector, or empty for the packer's archive
    QTest::addColumn<int>("method");
    QTest::newRow("reference: catalog") << "catalog_small" << 0;
    QTest::newRow("reference: run-length edges") << "edge_runlength" << 0;
    QTest::newRow("packer, method 0") << "" << 0;
    QTest::newRow("packer, method 1") << "" << 1;
}

// The reference vectors were made apart from the packer: a packer and an unpacker that agree with each other
// but not with the format fail on them. The packer's records have bit streams of every tail length and span
// several read blocks; each must end exactly where the next begins.
void tst_Extract::archives() {
    QFETCH(QString, vector);
    QFETCH(int, method);
    QTemporaryDir packed;
    QString expected = VX_SOURCE_DIR "/../shared/vectors/" + vector;
    if (vector.isEmpty()) {
        static const std::string pieces[] = {
            "Widerstand ",        "10k ", "\x90", "Diode\n", std::string(4, '\0'), std::string(300, '\x90'),
            std::string(300, 'x')};
        std::vector<PackEntry> entries;
        expected = packed.filePath("expected");
        QDir().mkpath(expected);
        for (std::size_t size : {0, 1, 2, 3, 5, 31, 36, 41, 300, 5000, 70000, 200000}) {
            QRandomGenerator random(static_cast<quint32>(size));
            std::string bytes;
            for (unsigned k = 0; bytes.size() < size; k = random.bounded(9))
                bytes += k < 7 ? pieces[k] : std::string(1, char(random.bounded(256)));
            bytes.resize(size);
            entries.push_back({"F" + std::to_string(size), "", method, bytes, false});
            QVERIFY(writeFileBytes(expected + "/F" + QString::number(size), bytes));
        }
        QVERIFY(writeFileBytes(expected + ".arc", packArchive(entries)));
    } else if (!QFile::exists(expected + ".arc")) {
        QSKIP("reference vectors not found");
    }
    QCOMPARE(unpack(expected + ".arc"), 0);
    QCOMPARE(filesIn(expected).size(), 12);
    for (const QString& file : filesIn(expected))
        QVERIFY2(readFileBytes(target + file) == readFileBytes(expected + "/" + file), qPrintable(file));
    QCOMPARE(filesIn(target).size(), method == 0 && vector.isEmpty() ? 12 : 14); // and the temporary files
}

QTEST_APPLESS_MAIN(tst_Extract)
#include "tst_extract.moc"
