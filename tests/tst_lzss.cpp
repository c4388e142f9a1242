#include "support/filebytes.h"
#include "uncompress/lzss.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vxtest;

class tst_Lzss : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::string target() const { return QFile::encodeName(dir.path() + "/").toStdString(); }

private slots:
    void tokens_data();
    void tokens();
    void missingInputFails();
};

void tst_Lzss::tokens_data() {
    QTest::addColumn<QByteArray>("huff"); // hex tokens: 00 byte, or flag length high low
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("match into the zero window") << QByteArray("01 03 00 05") << QByteArray("00 00 00");
    // The match reads the window as it was before it: positions 2 and 3 were not written yet.
    QTest::newRow("offset below length")
        << QByteArray("00 41 00 42 01 04 00 02") << QByteArray("41 42 41 42 00 00");
    QTest::newRow("window after the match") << QByteArray("00 41 00 42 01 04 00 02 01 06 00 06")
                                            << QByteArray("41 42 41 42 00 00 41 42 41 42 00 00");
    QTest::newRow("offset 1 after one literal")
        << QByteArray("00 41 01 03 00 01") << QByteArray("41 41 00 00");
    QTest::newRow("any nonzero flag is a match")
        << QByteArray("00 41 02 01 00 01 FF 01 00 02") << QByteArray("41 41 41");
    QTest::newRow("length 0 writes nothing") << QByteArray("00 41 01 00 00 01 00 42") << QByteArray("41 42");
    QTest::newRow("offset taken modulo 4096") << QByteArray("00 41 01 02 10 01") << QByteArray("41 41 00");
    QTest::newRow("offset 0 reads the oldest byte")
        << QByteArray("00 41 01 02 00 00") << QByteArray("41 00 00");
    // 4096 literals fill the window; 'X' overwrites position 0, and the match reads position 0 (now 'X') and
    // position 1 (still the second literal).
    QByteArray wrap, wrapped;
    for (int i = 0; i < 4096; ++i) {
        wrap += "00 " + QByteArray::number(i % 251 + 1, 16) + " ";
        wrapped += QByteArray::number(i % 251 + 1, 16) + " ";
    }
    QTest::newRow("window wraps") << wrap + "00 58 01 02 00 01" << wrapped + "58 58 02";
    QTest::newRow("cut literal") << QByteArray("00 41 00") << QByteArray("41");
    QTest::newRow("cut match") << QByteArray("00 41 01 03 00") << QByteArray("41");
}

void tst_Lzss::tokens() {
    QFETCH(QByteArray, huff);
    QFETCH(QByteArray, expected);
    QVERIFY(writeFileBytes(dir.path() + "/huff.tmp", hexBytes(huff.constData())));
    QCOMPARE(decodeLzssTemp(target()), 0);
    QCOMPARE(hexOf(readFileBytes(dir.path() + "/lzss.tmp")), hexOf(hexBytes(expected.constData())));
}

void tst_Lzss::missingInputFails() {
    QTemporaryDir empty;
    QCOMPARE(decodeLzssTemp(QFile::encodeName(empty.path() + "/").toStdString()), 1);
}

QTEST_APPLESS_MAIN(tst_Lzss)
#include "tst_lzss.moc"
