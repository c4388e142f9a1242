#include "support/filebytes.h"
#include "tools/archivepacker.h"
#include "uncompress/runlength.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

class tst_RunLength : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::string target() const { return QFile::encodeName(dir.path() + "/").toStdString(); }
    QString outputPath() const { return dir.path() + "/OUT.BIN"; }
    ArchiveEntry entry(std::uint32_t size = 0) const { return {"OUT", "BIN", 0, size}; }

private slots:
    void archiveCode_data();
    void archiveCode();
    void tempCode_data();
    void tempCode();
    void roundTrip_data();
    void roundTrip();
    void writeFailureIsReported();
};

void tst_RunLength::archiveCode_data() {
    QTest::addColumn<QByteArray>("archive"); // hex; the record is the first `size` bytes
    QTest::addColumn<uint>("size");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("consumed");

    QTest::newRow("run adds copies") << QByteArray("41 90 03") << 3u << 0 << QByteArray("41 41 41 41") << 3;
    QTest::newRow("plain escape") << QByteArray("90 90 05") << 2u << 0 << QByteArray("90") << 2;
    QTest::newRow("run of an escape") << QByteArray("90 90 90 02") << 4u << 0 << QByteArray("90 90 90") << 4;
    QTest::newRow("count zero") << QByteArray("41 90 00") << 3u << 0 << QByteArray("41") << 3;
    QTest::newRow("run before any byte")
        << QByteArray("90 03 42") << 3u << 0 << QByteArray("00 00 00 42") << 3;
    QTest::newRow("empty record") << QByteArray("41") << 0u << 0 << QByteArray("") << 0;
    QTest::newRow("archive ends early") << QByteArray("41 42") << 5u << 1 << QByteArray("41 42") << 2;
    QTest::newRow("archive ends inside escape") << QByteArray("41 90") << 2u << 1 << QByteArray("41") << 2;
    // The pair's second byte belongs to the next record and stays there.
    QTest::newRow("escape at record end") << QByteArray("41 90 03") << 2u << 1 << QByteArray("41") << 2;
}

void tst_RunLength::archiveCode() {
    QFETCH(QByteArray, archive);
    QFETCH(uint, size);
    QFETCH(int, status);
    QFETCH(QByteArray, expected);
    QFETCH(int, consumed);
    std::istringstream in(hexBytes(archive.constData()));
    QCOMPARE(decodeRunLengthEntry(in, target(), entry(size)), status);
    QCOMPARE(hexOf(readFileBytes(outputPath())), hexOf(hexBytes(expected.constData())));
    in.clear();
    QCOMPARE(static_cast<int>(in.tellg()), consumed);
}

void tst_RunLength::tempCode_data() {
    QTest::addColumn<QByteArray>("temp");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("run adds copies") << QByteArray("41 90 03") << QByteArray("41 41 41 41");
    QTest::newRow("plain escape") << QByteArray("90 00 41") << QByteArray("90 41");
    QTest::newRow("run of an escape") << QByteArray("90 00 90 02") << QByteArray("90 90 90");
    QTest::newRow("count 0x90") << QByteArray("42 90 90") << QByteArray(QByteArray("42 ").repeated(145));
    QTest::newRow("run before any byte") << QByteArray("90 02") << QByteArray("00 00");
    QTest::newRow("pair cut off") << QByteArray("41 90") << QByteArray("41");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
}

void tst_RunLength::tempCode() {
    QFETCH(QByteArray, temp);
    QFETCH(QByteArray, expected);
    QVERIFY(writeFileBytes(dir.path() + "/lzss.tmp", hexBytes(temp.constData())));
    QCOMPARE(decodeRunLengthTemp(target(), entry()), 0);
    QCOMPARE(hexOf(readFileBytes(outputPath())), hexOf(hexBytes(expected.constData())));
}

void tst_RunLength::roundTrip_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("escapes and counts") << QByteArray("\x90\x90\x90\x00\x00\x90\x41\x90", 8);
    QTest::newRow("run of 145") << QByteArray(145, 'x') + QByteArray(145, '\x90');
    QTest::newRow("long runs") << QByteArray(1000, '\0') + QByteArray(256, '\x90') + QByteArray(3, 'a');
    QByteArray mixed;
    for (int i = 0; i < 5000; ++i)
        mixed += static_cast<char>((i * 7919) % 5 == 0 ? 0x90 : (i / 13) & 0xFF);
    QTest::newRow("mixed") << mixed;
}

void tst_RunLength::roundTrip() {
    QFETCH(QByteArray, data);
    const std::string bytes(data.constData(), static_cast<std::size_t>(data.size()));

    const std::string code0 = encodeRunLength0(bytes);
    std::istringstream in(code0);
    QCOMPARE(decodeRunLengthEntry(in, target(), entry(static_cast<std::uint32_t>(code0.size()))), 0);
    QCOMPARE(readFileBytes(outputPath()), bytes);

    QVERIFY(writeFileBytes(dir.path() + "/lzss.tmp", encodeRunLength1(bytes)));
    QCOMPARE(decodeRunLengthTemp(target(), entry()), 0);
    QCOMPARE(readFileBytes(outputPath()), bytes);
}

void tst_RunLength::writeFailureIsReported() {
    if (!QFile::exists("/dev/full"))
        QSKIP("needs /dev/full");
    const std::string code = encodeRunLength0(std::string(200000, 'a') + "bcdefgh");
    std::istringstream in(code);
    QCOMPARE(decodeRunLengthEntry(in, "/dev/", {"full", "", 0, static_cast<std::uint32_t>(code.size())}), 1);
}

QTEST_GUILESS_MAIN(tst_RunLength)
#include "tst_runlength.moc"
