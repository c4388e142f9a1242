#include "support/filebytes.h"
#include "uncompress/huffman.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

using namespace vxtest;

namespace {

using Tree = QMap<int, QPair<int, int>>; // node -> (zeroChild, oneChild); unnamed nodes hold zeros

// A record's data: node table, the bits ('0'/'1', other characters ignored) packed from the top bit down
// and padded with zeros, and the final-bits byte.
std::string huffmanRecord(const Tree& tree, const QByteArray& bits, int finalBits) {
    std::string out;
    for (int node = 1; node <= 316; ++node) {
        const QPair<int, int> children = tree.value(node);
        for (int value : {0x1234, children.first, children.second}) {
            out += static_cast<char>(value & 0xFF);
            out += static_cast<char>((value >> 8) & 0xFF);
        }
    }
    int count = 0;
    unsigned char byte = 0;
    for (char c : bits) {
        if (c != '0' && c != '1')
            continue;
        byte = static_cast<unsigned char>(byte | ((c == '1') << (7 - count)));
        if (++count == 8) {
            out += static_cast<char>(byte);
            byte = 0;
            count = 0;
        }
    }
    if (count > 0)
        out += static_cast<char>(byte);
    out += static_cast<char>(finalBits);
    return out;
}

// Codes: 'A' 0, NUL 10, match of length 3 110, 'B' 111.
const Tree smallTree = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), -0x42}}};
// The same with 'B' naming a node beyond the table.
const Tree badTree = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), 317}}};

} // namespace

class tst_Huffman : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::string target() const { return QFile::encodeName(dir.path() + "/").toStdString(); }
    QByteArray tokens() const { return hexOf(readFileBytes(dir.path() + "/huff.tmp")); }

    // Decodes data as a record of the given size; a byte of the next record follows it in the archive.
    int decode(const std::string& data, std::uint32_t size, qint64* consumed = nullptr) {
        std::istringstream archive(data + "\x77");
        const int status = decodeHuffmanEntry(archive, target(), {"X", "", 1, size});
        archive.clear();
        if (consumed)
            *consumed = archive.tellg();
        return status;
    }

private slots:
    void stream_data();
    void stream();
    void deepCodes();
};

void tst_Huffman::stream_data() {
    QTest::addColumn<QByteArray>("bits");
    QTest::addColumn<int>("finalBits");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("bad"); // decoded with badTree
    const auto row = [](const char* name, const char* bits, int finalBits, int status, const char* expected,
                        bool bad = false) {
        QTest::newRow(name) << QByteArray(bits) << finalBits << status << QByteArray(expected) << bad;
    };
    const char* sevenA = "00 41 00 41 00 41 00 41 00 41 00 41 00 41";
    row("padding is not decoded", "0", 1, 0, "00 41");
    row("child 0 is the literal 0x00", "0 10 0", 4, 0, "00 41 00 00 00 41");
    row("offset 0x0ABC", "110 101010111100", 7, 0, "01 03 0a bc");
    row("offset ends on byte boundary", "0 110 101010111100", 8, 0, "00 41 01 03 0a bc");
    row("final bits wrap", "0 110 101010111100", 7, 1, "00 41 01 03 0a bc");
    row("literal runs into last byte", "0000000 1 0", 1, 0, (QByteArray(sevenA) + " 00 00").constData());
    row("match code in last byte", "0000000 1 10", 2, 1, sevenA);
    row("walk left inside the tree", "0 1", 2, 0, "00 41");
    row("count above 8", "0", 9, 1, "");
    row("empty stream", "", 8, 0, "");
    row("lookup table path", "111 0 110 000000000001 10 0 111 111 111 111 111 0", 6, 0,
        "00 42 00 41 01 03 00 01 00 00 00 41 00 42 00 42 00 42 00 42 00 42 00 41");
    row("bad child in the last byte", "0 111", 4, 1, "00 41", true);
    row("bad child on the table path", "0 0 10 1111 0000 0000 0000 0000 0000", 8, 1, "00 41 00 41 00 00",
        true);
}

void tst_Huffman::stream() {
    QFETCH(QByteArray, bits);
    QFETCH(int, finalBits);
    QFETCH(int, status);
    QFETCH(QByteArray, expected);
    QFETCH(bool, bad);
    const std::string data = huffmanRecord(bad ? badTree : smallTree, bits, finalBits);
    qint64 consumed = 0;
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size()), &consumed), status);
    QCOMPARE(tokens(), expected);
    if (status == 0)
        QCOMPARE(consumed, static_cast<qint64>(data.size()));
}

void tst_Huffman::deepCodes() {
    // A chain: symbol i (1 to 30) has the code of i-1 ones and a zero, 31 that of 30 ones, so most codes are
    // longer than one lookup step and the walk goes on bit by bit.
    Tree tree;
    for (int i = 1; i <= 30; ++i)
        tree[317 - i] = {-i, 316 - i};
    tree[287].second = -31;
    QRandomGenerator random(7);
    QByteArray bits, expected;
    for (int n = 0; n < 3000; ++n) {
        const int symbol = random.bounded(1, 32);
        bits += QByteArray(symbol - 1, '1') + (symbol == 31 ? "" : "0");
        expected += '\0';
        expected += static_cast<char>(symbol);
    }
    const std::string data = huffmanRecord(tree, bits, bits.size() % 8 == 0 ? 8 : int(bits.size() % 8));
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size())), 0);
    QCOMPARE(tokens(), expected.toHex(' '));
}

QTEST_APPLESS_MAIN(tst_Huffman)
#include "tst_huffman.moc"
