#include "support/filebytes.h"
#include "uncompress/huffman.h"

#include <QtTest>
#include <sstream>

using namespace vxtest;
using Tree = QMap<int, QPair<int, int>>; // node -> (zeroChild, oneChild); unnamed nodes hold zeros

// Whole archives, with long codes and every tail, are unpacked by tst_unpack; these rows are the corners.
class tst_Huffman : public QObject {
    Q_OBJECT

private slots:
    void stream_data() {
        QTest::addColumn<Tree>("tree");
        QTest::addColumn<QByteArray>("bits");
        QTest::addColumn<int>("finalBits");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("tokens"); // hex: 00 byte for a literal, 01 length high low for a match
        const auto row = [](const char* name, const Tree& tree, const QByteArray& bits, int finalBits,
                            int status, const QByteArray& tokens) {
            QTest::newRow(name) << tree << bits << finalBits << status << tokens;
        };
        // Codes: 'A' 0, NUL 10, match of length 3 110, 'B' 111; in the bad tree 'B' names no node.
        const Tree t = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), -0x42}}};
        const Tree bad = {{316, {-0x41, 315}}, {315, {0, 314}}, {314, {-(256 + 3), 317}}};
        const QByteArray sevenA = "00 41 00 41 00 41 00 41 00 41 00 41 00 41";
        row("offset ends on byte boundary", t, "0 110 101010111100", 8, 0, "00 41 01 03 0a bc");
        row("final bits wrap", t, "0 110 101010111100", 7, 1, "00 41 01 03 0a bc");
        row("literal runs into last byte", t, "0000000 1 0", 1, 0, sevenA + " 00 00");
        row("match code in last byte", t, "0000000 1 10", 2, 1, sevenA);
        row("walk left inside the tree", t, "0 1", 2, 0, "00 41");
        row("count above 8", t, "0", 9, 1, "");
        row("empty stream", t, "", 8, 0, "");
        row("bad child in the last byte", bad, "0 111", 4, 1, "00 41");
        row("bad child on the table path", bad, "0 0 10 1111 0000 0000 0000 0000 0000", 8, 1,
            "00 41 00 41 00 00");
    }
    // The record: node table, the bits ('0'/'1', others ignored) packed from the top bit down, final-bits
    // byte.
    void stream() {
        QFETCH(Tree, tree);
        QFETCH(QByteArray, bits);
        QFETCH(int, finalBits);
        QFETCH(int, status);
        QFETCH(QByteArray, tokens);
        std::string data;
        for (int node = 1; node <= 316; ++node)
            for (int value : {0x1234, tree.value(node).first, tree.value(node).second})
                data += {char(value & 0xFF), char((value >> 8) & 0xFF)};
        bits.removeIf([](char c) { return c != '0' && c != '1'; });
        for (qsizetype i = 0; i < bits.size(); i += 8)
            data += char(bits.mid(i, 8).leftJustified(8, '0').toUInt(nullptr, 2));
        data += char(finalBits);
        QTemporaryDir dir;
        std::istringstream archive(data + "\x77"); // the next record's first byte, not to be taken
        QCOMPARE(decodeHuffmanEntry(archive, QFile::encodeName(dir.path() + "/").toStdString(),
                                    {"X", "", 1, std::uint32_t(data.size())}),
                 status);
        QCOMPARE(hexOf(readFileBytes(dir.path() + "/huff.tmp")), tokens);
        if (status == 0)
            QCOMPARE(archive.get(), 0x77);
    }
};

QTEST_APPLESS_MAIN(tst_Huffman)
#include "tst_huffman.moc"
