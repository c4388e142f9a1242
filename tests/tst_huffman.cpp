#include "support/filebytes.h"
#include "uncompress/huffman.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

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
    void badChildFails_data();
    void badChildFails();
    void shortRecordsFail();
    void deepCodes();
};

void tst_Huffman::stream_data() {
    QTest::addColumn<QByteArray>("bits");
    QTest::addColumn<int>("finalBits");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("padding is not decoded") << QByteArray("0") << 1 << 0 << QByteArray("00 41");
    QTest::newRow("child 0 is the literal 0x00")
        << QByteArray("0 10 0") << 4 << 0 << QByteArray("00 41 00 00 00 41");
    QTest::newRow("offset 0x0ABC") << QByteArray("110 101010111100") << 7 << 0 << QByteArray("01 03 0a bc");
    QTest::newRow("offset ends on byte boundary")
        << QByteArray("0 110 101010111100") << 8 << 0 << QByteArray("00 41 01 03 0a bc");
    QTest::newRow("final bits wrap") << QByteArray("0 110 101010111100") << 7 << 1
                                     << QByteArray("00 41 01 03 0a bc");
    QTest::newRow("literal runs into last byte")
        << QByteArray("0000000 1 0") << 1 << 0
        << QByteArray("00 41 00 41 00 41 00 41 00 41 00 41 00 41 00 00");
    QTest::newRow("match code in last byte")
        << QByteArray("0000000 1 10") << 2 << 1 << QByteArray("00 41 00 41 00 41 00 41 00 41 00 41 00 41");
    QTest::newRow("walk left inside the tree") << QByteArray("0 1") << 2 << 0 << QByteArray("00 41");
    QTest::newRow("count above 8") << QByteArray("0") << 9 << 1 << QByteArray("");
    QTest::newRow("empty stream") << QByteArray("") << 8 << 0 << QByteArray("");
    QTest::newRow("table path")
        << QByteArray("111 0 110 000000000001 10 0 111 111 111 111 111 0") << 6 << 0
        << QByteArray("00 42 00 41 01 03 00 01 00 00 00 41 00 42 00 42 00 42 00 42 00 42 00 41");
}

void tst_Huffman::stream() {
    QFETCH(QByteArray, bits);
    QFETCH(int, finalBits);
    QFETCH(int, status);
    QFETCH(QByteArray, expected);
    const std::string data = huffmanRecord(smallTree, bits, finalBits);
    qint64 consumed = 0;
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size()), &consumed), status);
    QCOMPARE(tokens(), expected);
    if (status == 0)
        QCOMPARE(consumed, static_cast<qint64>(data.size()));
}

void tst_Huffman::badChildFails_data() {
    QTest::addColumn<QByteArray>("bits");
    QTest::addColumn<int>("finalBits");
    QTest::newRow("in the last byte") << QByteArray("1 11 1") << 4;
    QTest::newRow("in a long stream") << QByteArray("0 0 10 1111 0000 0000 0000 0000 0000") << 8;
}

void tst_Huffman::badChildFails() {
    QFETCH(QByteArray, bits);
    QFETCH(int, finalBits);
    Tree tree = smallTree;
    tree[314].second = 317; // 'B' names a node beyond the table
    const std::string data = huffmanRecord(tree, bits, finalBits);
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size())), 1);
}

void tst_Huffman::shortRecordsFail() {
    const std::string data = huffmanRecord(smallTree, "0 0 0 0", 4);
    QCOMPARE(decode(data.substr(0, 1000), 1000), 1); // too small to hold a node table
    QCOMPARE(tokens(), QByteArray());
    QCOMPARE(decode(data.substr(0, 1000), static_cast<std::uint32_t>(data.size())), 1); // table cut off
    QCOMPARE(tokens(), QByteArray());
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size()) + 100), 1); // stream cut off
    QCOMPARE(decode(data, 0xFFFFFFFFu), 1);
}

void tst_Huffman::deepCodes() {
    // A chain: symbol i (1 to 30) has the code of i-1 ones and a zero, so most codes are longer than a
    // lookup step. Symbol 17 is a match of length 5 and takes an offset.
    Tree tree;
    for (int i = 1; i <= 30; ++i)
        tree[317 - i] = {i == 17 ? -(256 + 5) : -i, 316 - i};
    tree[287].second = -31;
    QRandomGenerator random(7);
    QByteArray bits, expected;
    for (int n = 0; n < 3000; ++n) {
        int symbol = random.bounded(1, 32);
        if (symbol == 17 && n > 2900)
            symbol = 16;
        bits += QByteArray(symbol - 1, '1') + (symbol == 31 ? "" : "0");
        if (symbol == 17) {
            const int offset = random.bounded(4096);
            bits += QByteArray::number(offset, 2).rightJustified(12, '0');
            expected +=
                QByteArray::fromHex(QByteArray::number(0x01050000 | offset, 16).rightJustified(8, '0'));
        } else {
            expected += '\0';
            expected += static_cast<char>(symbol);
        }
    }
    const int finalBits = bits.size() % 8 == 0 ? 8 : static_cast<int>(bits.size() % 8);
    const std::string data = huffmanRecord(tree, bits, finalBits);
    QCOMPARE(decode(data, static_cast<std::uint32_t>(data.size())), 0);
    QCOMPARE(tokens(), expected.toHex(' '));
}

QTEST_GUILESS_MAIN(tst_Huffman)
#include "tst_huffman.moc"
