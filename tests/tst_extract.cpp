#include "tools/archivepacker.h"
#include "uncompress/extractentry.h"

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
};

QTEST_APPLESS_MAIN(tst_Extract)
#include "tst_extract.moc"
