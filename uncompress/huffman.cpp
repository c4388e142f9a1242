#include "uncompress/huffman.h"

#include "catalog/streamreaders.h"
#include "uncompress/blockio.h"
#include "uncompress/stagefiles.h"

#include <cstdint>
#include <fstream>
#include <memory>

namespace {

constexpr int NodeCount = 316;
constexpr int Root = NodeCount;
constexpr std::streamsize NodeTableBytes = NodeCount * 6;
// The node table and the final-bits byte; the bit stream between them may be empty.
constexpr std::int64_t MinimumSize = NodeTableBytes + 1;
constexpr int TableBits = 11;

// Child values: above 0 an inner node by its number, 0 and below the leaf of symbol -value.
struct HuffmanNode {
    std::int32_t first = 0;
    std::int32_t zeroChild = 0;
    std::int32_t oneChild = 0;
};

bool isBadChild(int child) {
    return child > NodeCount;
}

// Where the first TableBits bits of a code lead from the root: to a leaf after `bits` bits, to a child that
// names no node, or, when no leaf comes within TableBits bits, to the inner node reached by then.
struct Lookup {
    enum Kind : std::uint8_t { Leaf, Bad, Inner };
    std::int32_t value = 0;
    std::uint8_t bits = 0;
    Kind kind = Leaf;
};

struct Tree {
    HuffmanNode nodes[NodeCount + 1];
    Lookup table[1u << TableBits];

    bool read(std::istream& archive) {
        unsigned char raw[NodeTableBytes];
        archive.read(reinterpret_cast<char*>(raw), NodeTableBytes);
        if (archive.gcount() != NodeTableBytes)
            return false;
        for (int i = 1; i <= NodeCount; ++i) {
            const unsigned char* p = raw + 6 * (i - 1);
            nodes[i] = {int16At(p), int16At(p + 2), int16At(p + 4)};
        }
        fill(Root, 0, 0);
        return true;
    }

    int child(int node, bool one) const { return one ? nodes[node].oneChild : nodes[node].zeroChild; }

private:
    void fill(int node, unsigned prefix, int depth) {
        for (unsigned bit = 0; bit < 2; ++bit) {
            const int c = child(node, bit != 0);
            const unsigned code = (prefix << 1) | bit;
            const int bits = depth + 1;
            if (c > 0 && !isBadChild(c) && bits < TableBits) {
                fill(c, code, bits);
                continue;
            }
            Lookup entry;
            entry.bits = static_cast<std::uint8_t>(bits);
            if (isBadChild(c)) {
                entry.kind = Lookup::Bad;
            } else if (c > 0) {
                entry.kind = Lookup::Inner;
                entry.value = c;
            } else {
                entry.kind = Lookup::Leaf;
                entry.value = -c;
            }
            const unsigned first = code << (TableBits - bits);
            for (unsigned i = 0; i < (1u << (TableBits - bits)); ++i)
                table[first + i] = entry;
        }
    }
};

// The bit stream, most significant bit first, read in blocks but never past its own bytes.
class BitReader {
public:
    BitReader(std::istream& in, std::uint64_t bytes) : source(in, bytes) {}

    // Tops up the buffer to more than 56 bits, or to what the stream still holds.
    void fill() {
        unsigned char c = 0;
        while (count <= 56 && source.get(c)) {
            bits |= std::uint64_t(c) << (56 - count);
            count += 8;
        }
    }
    int available() const { return count; }
    unsigned peek(int n) const { return static_cast<unsigned>(bits >> (64 - n)); }
    void skip(int n) {
        bits <<= n;
        count -= n;
    }

private:
    ByteSource source;
    std::uint64_t bits = 0;
    int count = 0;
};

class TokenWriter {
public:
    explicit TokenWriter(ByteSink& sink) : sink(sink) {}
    bool stopped() const { return sink.stopped(); }
    void literal(int symbol) {
        sink.put(0x00);
        sink.put(static_cast<unsigned char>(symbol));
    }
    void match(int symbol, unsigned offset) {
        const unsigned char token[4] = {0x01, static_cast<unsigned char>(symbol & 0xFF),
                                        static_cast<unsigned char>(offset >> 8),
                                        static_cast<unsigned char>(offset & 0xFF)};
        sink.put(token, sizeof token);
    }

private:
    ByteSink& sink;
};

// Bit positions below count from the start of the bit stream. Inside the stream's last byte a tree walk is
// left to the tail, which knows from the final-bits byte where the padding begins; only the twelve offset
// bits of a match may run into that byte.
bool decodeBits(std::istream& archive, std::uint32_t size, TokenWriter& tokens) {
    if (size < MinimumSize)
        return false; // the bit stream would end before it begins
    auto tree = std::make_unique<Tree>();
    if (!tree->read(archive))
        return false;
    const std::int64_t streamBytes = std::int64_t(size) - MinimumSize;
    const std::int64_t tailStart = 8 * (streamBytes - 1), streamEnd = 8 * streamBytes;
    auto reader = std::make_unique<BitReader>(archive, static_cast<std::uint64_t>(streamBytes));

    int node = Root;
    std::int64_t p = 0;
    while (p < tailStart && !tokens.stopped()) {
        if (reader->available() < 32)
            reader->fill();
        int symbol = 0;
        if (node == Root && tailStart - p >= TableBits && reader->available() >= TableBits) {
            const Lookup& step = tree->table[reader->peek(TableBits)];
            if (step.kind == Lookup::Bad)
                return false;
            reader->skip(step.bits);
            p += step.bits;
            if (step.kind == Lookup::Inner) {
                node = step.value;
                continue;
            }
            symbol = step.value;
        } else {
            if (reader->available() == 0)
                return false; // the archive ended inside the bit stream
            const int c = tree->child(node, reader->peek(1) != 0);
            reader->skip(1);
            ++p;
            if (isBadChild(c))
                return false;
            if (c > 0) {
                node = c;
                continue;
            }
            symbol = -c;
        }
        node = Root;
        if (symbol < 256) {
            tokens.literal(symbol);
            continue;
        }
        // An offset reaching past the last byte would take the final-bits byte and the next record as bits.
        if (p + 12 > streamEnd)
            return false;
        if (reader->available() < 12)
            reader->fill();
        if (reader->available() < 12)
            return false;
        tokens.match(symbol, reader->peek(12));
        reader->skip(12);
        p += 12;
    }

    // The unconsumed bits of the last byte stand at the top of acc; the final-bits byte says how many of the
    // last byte's bits are data.
    const int unconsumed = static_cast<int>(streamEnd - p);
    unsigned acc = 0;
    if (unconsumed > 0) {
        reader->fill();
        if (reader->available() < unconsumed)
            return false;
        acc = (reader->peek(unconsumed) << (8 - unconsumed)) & 0xFF;
    }
    unsigned char finalBits = 0;
    if (!archive.read(reinterpret_cast<char*>(&finalBits), 1))
        return false;
    const unsigned count = (finalBits - unsigned(8 - unconsumed)) & 0xFF;
    if (count > 8)
        return false;
    for (unsigned i = 0; i < count; ++i) {
        const int c = tree->child(node, (acc & 0x80) != 0);
        acc = (acc << 1) & 0xFF;
        if (isBadChild(c))
            return false;
        if (c > 0) {
            node = c;
            continue;
        }
        if (-c >= 256)
            return false; // no room for a match's offset after the last byte
        tokens.literal(-c);
        node = Root;
    }
    return true;
}

} // namespace

int decodeHuffmanEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry) {
    std::ofstream out(huffTempPath(targetDir), std::ios::binary | std::ios::trunc);
    if (!out)
        return 1;
    auto sink = std::make_unique<ByteSink>(out, targetDir);
    TokenWriter tokens(*sink);
    const bool decoded = decodeBits(archive, entry.size, tokens);
    return closeOutput(out, sink->finish()) && decoded ? 0 : 1;
}
