#include "tools/archivepacker.h"
#include "uncompress/extractentry.h"
#include "uncompress/outputlimits.h"

#include <QtTest>
#include <sstream>

class tst_Extract : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    const QString target = work.filePath(QString::fromUtf8("Zielordner äß/")); // not Latin-1 here
    const std::string encodedTarget = QFile::encodeName(target).toStdString();

private slots:
    void init() { QVERIFY(QDir(target).removeRecursively() && QDir().mkpath(target)); }
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
        QDir().mkpath(mountPoint);
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=70m", "tmpfs", mountPoint}) != 0)
            QSKIP("cannot mount a tmpfs here");
        const std::string dir = QFile::encodeName(mountPoint).toStdString() + "/";
        const auto unpack = [&dir](const char* name, int mib) {
            std::istringstream archive(
                encodeEntry({name, "", 1, std::string(std::size_t(mib) << 20, 'x'), false}));
            return extractEntry(archive, dir, {name, "", 1, std::uint32_t(archive.str().size())});
        };
        const int small = unpack("KLEIN", 4), large = unpack("GROSS", 8);
        QProcess::execute("umount", {mountPoint});
        QCOMPARE(small, 0);
        QCOMPARE(large, 1);
    }
};

QTEST_APPLESS_MAIN(tst_Extract)
#include "tst_extract.moc"
