#include "support/filebytes.h"
#include "uncompress/huffman.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

using namespace vxtest;

namespace {
using Tree = QMap<int, QPair<int, int>>; // node -> (zeroChild, oneChild); unnamed nodes hold zeros

// A record's data: node table, the bits ('0'/'1', others ignored) packed from the top bit down, final-bits
// byte.
std::string huffmanRecord(const Tree& tree, QByteArray bits, int finalBits) {
    std::string out;
    for (int node = 1; node <= 316; ++node)
        for (int value : {0x1234, tree.value(node).first, tree.value(node).second})
            out += {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    bits.removeIf([](char c) { return c != '0' && c != '1'; });
    for (qsizetype i = 0; i < bits.size(); i += 8)
        out += static_cast<char>(bits.mid(i, 8).leftJustified(8, '0').toUInt(nullptr, 2));
    return out + static_cast<char>(finalBits);
}
} // namespace

class tst_Huffman : public QObject {
    Q_OBJECT

private slots:
    void stream_data();
    void stream();
};

void tst_Huffman::stream_data() {
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<QByteArray>("bits");
    QTest::addColumn<int>("finalBits");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("tokens"); // hex: 00 byte for a literal, 01 length high low for a match
    const auto row = [](const char* name, const Tree& tree, const QByteArray& bits, int finalBits, int status,
                        const QByteArray& tokens) {
        QTest::newRow(name) << tree << bits << finalBits << status << tokens;
    };
    // Codes: 'A' 0, NUL 10, match of length 3 110, 'B' 111; in the bad tree 'B' names a node beyond the
    // table.
    const Tree t = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), -0x42}}};
    Tree bad = t;
    bad[314].second = 317;
    const QByteArray sevenA = "00 41 00 41 00 41 00 41 00 41 00 41 00 41";
    row("padding is not decoded", t, "0", 1, 0, "00 41");
    row("child 0 is the literal 0x00", t, "0 10 0", 4, 0, "00 41 00 00 00 41");
    row("offset 0x0ABC", t, "110 101010111100", 7, 0, "01 03 0a bc");
    row("offset ends on byte boundary", t, "0 110 101010111100", 8, 0, "00 41 01 03 0a bc");
    row("final bits wrap", t, "0 110 101010111100", 7, 1, "00 41 01 03 0a bc");
    row("literal runs into last byte", t, "0000000 1 0", 1, 0, sevenA + " 00 00");
    row("match code in last byte", t, "0000000 1 10", 2, 1, sevenA);
    row("walk left inside the tree", t, "0 1", 2, 0, "00 41");
    row("count above 8", t, "0", 9, 1, "");
    row("empty stream", t, "", 8, 0, "");
    row("lookup table path", t, "111 0 110 000000000001 10 0 111 111 111 111 111 0", 6, 0,
        "00 42 00 41 01 03 00 01 00 00 00 41 00 42 00 42 00 42 00 42 00 42 00 41");
    row("bad child in the last byte", bad, "0 111", 4, 1, "00 41");
    row("bad child on the table path", bad, "0 0 10 1111 0000 0000 0000 0000 0000", 8, 1,
        "00 41 00 41 00 00");
    // A chain: symbol i (1 to 30) has the code of i-1 ones and a zero, 31 that of 30 ones, so most codes are
    // longer than one lookup step and the walk goes on bit by bit.
    Tree chain;
    QByteArray bits, tokens;
    for (int i = 1; i <= 30; ++i)
        chain[317 - i] = {-i, i == 30 ? -31 : 316 - i};
    for (int n = 0, symbol = 1; n < 500; ++n, symbol = n * 7 % 31 + 1) {
        bits += QByteArray(symbol - 1, '1') + (symbol == 31 ? "" : "0");
        tokens += " 00 " + QByteArray::number(symbol, 16).rightJustified(2, '0');
    }
    row("deep codes", chain, bits, bits.size() % 8 == 0 ? 8 : int(bits.size() % 8), 0, tokens.mid(1));
}

void tst_Huffman::stream() {
    QFETCH(Tree, tree);
    QFETCH(QByteArray, bits);
    QFETCH(int, finalBits);
    QFETCH(int, status);
    QFETCH(QByteArray, tokens);
    QTemporaryDir dir;
    const std::string data = huffmanRecord(tree, bits, finalBits);
    std::istringstream archive(data + "\x77"); // the next record's first byte, not to be taken
    QCOMPARE(decodeHuffmanEntry(archive, QFile::encodeName(dir.path() + "/").toStdString(),
                                {"X", "", 1, static_cast<std::uint32_t>(data.size())}),
             status);
    QCOMPARE(hexOf(readFileBytes(dir.path() + "/huff.tmp")), tokens);
    if (status == 0)
        QCOMPARE(archive.get(), 0x77);
}

QTEST_APPLESS_MAIN(tst_Huffman)
#include "tst_huffman.moc"
