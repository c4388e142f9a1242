#include "support/filebytes.h"
#include "uncompress/runlength.h"

#include <QtTest>
#include <sstream>

using namespace vxtest;

// Plain runs, escapes and long counts are in the reference vectors; these rows are the record ends and
// corners.
class tst_RunLength : public QObject {
    Q_OBJECT

private slots:
    void codes_data() {
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
    void codes() {
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
};

QTEST_APPLESS_MAIN(tst_RunLength)
#include "tst_runlength.moc"
