#include "fuzz/referencedecoders.h"

#include <vector>

namespace {

constexpr int nodeCount = 316;
constexpr unsigned char escape = 0x90;

struct Node {
    int zero = 0;
    int one = 0;
};

int int16At(const std::string& s, std::size_t i) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(s[i]) |
                                     (static_cast<unsigned char>(s[i + 1]) << 8));
}

class Bits {
public:
    Bits(const std::string& data, std::size_t start) : data(data), pos(start) {}
    // False at the end of the data, like a failed read.
    bool getBit(int& bit) {
        if (bitsLeft <= 0) {
            if (pos >= data.size())
                return false;
            current = static_cast<unsigned char>(data[pos++]);
            bitsLeft = 7;
            ++fetched;
        } else {
            current = static_cast<unsigned char>(current << 1);
            --bitsLeft;
        }
        bit = current >> 7;
        return true;
    }
    const std::string& data;
    std::size_t pos;
    unsigned char current = 0;
    int bitsLeft = 0;
    std::int64_t fetched = 0;
};

} // namespace

ReferenceResult referenceHuffman(const std::string& archive, std::uint32_t size) {
    ReferenceResult r;
    if (size < 6 * nodeCount + 1 || archive.size() < 6 * nodeCount)
        return r;
    std::vector<Node> nodes(nodeCount + 1);
    for (int i = 1; i <= nodeCount; ++i)
        nodes[i] = {int16At(archive, 6 * (i - 1) + 2), int16At(archive, 6 * (i - 1) + 4)};
    const std::int64_t length = std::int64_t(size) - (6 * nodeCount + 1);
    Bits bits(archive, 6 * nodeCount);
    int node = nodeCount;
    for (;;) {
        if (bits.fetched == length || (bits.fetched == length - 1 && bits.bitsLeft == 0))
            break;
        int bit = 0;
        if (!bits.getBit(bit))
            return r;
        const int child = bit ? nodes[node].one : nodes[node].zero;
        if (child > nodeCount)
            return r;
        if (child > 0) {
            node = child;
            continue;
        }
        const int symbol = -child;
        node = nodeCount;
        if (symbol < 256) {
            r.output += '\0';
            r.output += char(symbol);
            continue;
        }
        unsigned offset = 0;
        for (int i = 0; i < 12; ++i) {
            if (bits.bitsLeft <= 0 && bits.fetched == length)
                return r; // the offset would run into the final-bits byte
            if (!bits.getBit(bit))
                return r;
            offset = offset * 2 + unsigned(bit);
        }
        r.output += '\x01';
        r.output += char(symbol & 0xFF);
        r.output += char(offset >> 8);
        r.output += char(offset & 0xFF);
    }
    const int n = bits.fetched == length - 1 ? 8 : bits.bitsLeft;
    unsigned acc = 0;
    for (int i = 0; i < n; ++i) {
        int bit = 0;
        if (!bits.getBit(bit))
            return r;
        acc = acc * 2 + unsigned(bit);
    }
    acc = (acc << (8 - n)) & 0xFF;
    if (bits.pos >= archive.size())
        return r;
    const auto finalBits = static_cast<unsigned char>(archive[bits.pos++]);
    r.consumed = bits.pos;
    const unsigned count = (finalBits - unsigned(8 - n)) & 0xFF;
    if (count > 8)
        return r;
    for (unsigned i = 0; i < count; ++i) {
        const int child = (acc & 0x80) ? nodes[node].one : nodes[node].zero;
        acc = (acc << 1) & 0xFF;
        if (child > nodeCount)
            return r;
        if (child > 0) {
            node = child;
            continue;
        }
        if (-child >= 256)
            return r;
        r.output += '\0';
        r.output += char(-child);
        node = nodeCount;
    }
    r.ok = true;
    return r;
}

ReferenceResult referenceLzss(const std::string& tokens) {
    ReferenceResult r;
    unsigned char window[4096] = {};
    unsigned char staging[4096] = {};
    unsigned pos = 0;
    std::size_t i = 0;
    const auto byteAt = [&](std::size_t k) { return static_cast<unsigned char>(tokens[k]); };
    while (i < tokens.size()) {
        const unsigned char flag = byteAt(i++);
        if (flag == 0) {
            if (i >= tokens.size())
                break;
            const unsigned char c = byteAt(i++);
            r.output += char(c);
            window[pos] = c;
            pos = (pos + 1) % 4096;
            continue;
        }
        if (i + 3 > tokens.size())
            break;
        const unsigned length = byteAt(i), offset = (unsigned(byteAt(i + 1)) << 8) | byteAt(i + 2);
        i += 3;
        unsigned from = (pos + 65536 - offset) % 4096;
        unsigned k = 0;
        for (unsigned n = 0; n < length; ++n) {
            staging[k++] = window[from];
            from = (from + 1) % 4096;
        }
        for (unsigned n = 0; n < k; ++n) {
            window[pos] = staging[n];
            pos = (pos + 1) % 4096;
            r.output += char(staging[n]);
        }
    }
    r.ok = true;
    return r;
}

ReferenceResult referenceRunLengthEntry(const std::string& archive, std::uint32_t size) {
    ReferenceResult r;
    const std::size_t end = std::min<std::size_t>(archive.size(), size);
    unsigned char last = 0;
    std::size_t i = 0;
    while (i < end) {
        const auto b = static_cast<unsigned char>(archive[i++]);
        if (b != escape) {
            last = b;
            r.output += char(b);
            continue;
        }
        if (i >= end) {
            r.consumed = i;
            return r;
        }
        const auto n = static_cast<unsigned char>(archive[i++]);
        if (n == escape) {
            last = escape;
            r.output += char(escape);
        } else {
            r.output.append(n, char(last));
        }
    }
    r.consumed = i;
    r.ok = i == size;
    return r;
}

ReferenceResult referenceRunLengthTemp(const std::string& bytes) {
    ReferenceResult r;
    unsigned char last = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i++]);
        if (b != escape) {
            last = b;
            r.output += char(b);
            continue;
        }
        if (i >= bytes.size())
            break;
        const auto n = static_cast<unsigned char>(bytes[i++]);
        if (n == 0) {
            last = escape;
            r.output += char(escape);
        } else {
            r.output.append(n, char(last));
        }
    }
    r.ok = true;
    return r;
}
