#include "support/filebytes.h"
#include "uncompress/lzss.h"

#include <QtTest>

using namespace vxtest;

// Whole archives, whose matches wrap the window, are unpacked by tst_unpack; these rows are the corners.
class tst_Lzss : public QObject {
    Q_OBJECT

private slots:
    void tokens_data() {
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
    void tokens() {
        QFETCH(QByteArray, huff);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        if (!huff.isNull())
            QVERIFY(writeFileBytes(dir.path() + "/huff.tmp", hexBytes(huff.constData())));
        QCOMPARE(decodeLzssTemp(QFile::encodeName(dir.path() + "/").toStdString()), huff.isNull() ? 1 : 0);
        QCOMPARE(hexOf(readFileBytes(dir.path() + "/lzss.tmp")), expected);
    }
};

QTEST_APPLESS_MAIN(tst_Lzss)
#include "tst_lzss.moc"
