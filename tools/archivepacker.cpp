#include "tools/archivepacker.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <queue>
#include <utility>

namespace {

constexpr unsigned char Escape = 0x90;

// Appends run-length code for data. A run is the byte itself followed by pairs (escape, further copies);
// countAllowed says which counts the variant can express.
template <class PlainEscape, class CountAllowed>
std::string encodeRunLength(const std::string& data, PlainEscape plainEscape, CountAllowed countAllowed,
                            std::size_t minimumRun) {
    std::string out;
    out.reserve(data.size() + data.size() / 8 + 16);
    std::size_t i = 0;
    while (i < data.size()) {
        const auto b = static_cast<unsigned char>(data[i]);
        std::size_t run = 1;
        while (i + run < data.size() && static_cast<unsigned char>(data[i + run]) == b)
            ++run;
        if (b == Escape)
            plainEscape(out);
        else
            out += static_cast<char>(b);
        std::size_t copies = run - 1;
        // A plain 0x90 costs two bytes, as much as a pair: use pairs for every repeat of it.
        const std::size_t worthIt = b == Escape ? 1 : minimumRun;
        while (copies >= worthIt) {
            std::size_t n = std::min<std::size_t>(copies, 255);
            while (!countAllowed(n))
                --n;
            out += static_cast<char>(Escape);
            out += static_cast<char>(n);
            copies -= n;
        }
        for (; copies > 0; --copies) {
            if (b == Escape)
                plainEscape(out);
            else
                out += static_cast<char>(b);
        }
        i += run;
    }
    return out;
}

// ---- LZSS ----

constexpr int WindowSize = 4096;
constexpr int MaxMatch = 60;
constexpr int MinMatch = 3;
constexpr int HashBits = 15;
constexpr int MaxChain = 48;
constexpr int Symbols = 256 + MaxMatch + 1;
constexpr int InnerNodes = Symbols - 1;

struct Token {
    std::uint16_t symbol; // below 256 a literal, else 256 + length
    std::uint16_t offset; // backward distance, 4096 written as 0
};

unsigned hash3(const unsigned char* p) {
    const std::uint32_t v = p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
    return (v * 2654435761u) >> (32 - HashBits);
}

// The decoder copies a match from the window as it stood before the match. Matches that do not overlap the
// bytes they produce (distance at least the length) read the same bytes as a plain copy of the data; the
// encoder only emits those.
std::vector<Token> findTokens(const std::string& text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::int64_t n = static_cast<std::int64_t>(text.size());
    std::vector<Token> tokens;
    tokens.reserve(text.size() / 2 + 16);
    std::vector<std::int64_t> head(std::size_t(1) << HashBits, -1);
    std::array<std::int64_t, WindowSize> prev;
    prev.fill(-1);
    auto insert = [&](std::int64_t pos) {
        if (pos + MinMatch > n)
            return;
        const unsigned h = hash3(s + pos);
        prev[static_cast<std::size_t>(pos & (WindowSize - 1))] = head[h];
        head[h] = pos;
    };

    std::int64_t i = 0;
    while (i < n) {
        int bestLength = 0;
        std::int64_t bestDistance = 0;
        if (i + MinMatch <= n) {
            std::int64_t candidate = head[hash3(s + i)];
            for (int steps = 0; candidate >= 0 && i - candidate <= WindowSize && steps < MaxChain; ++steps) {
                const std::int64_t distance = i - candidate;
                const int limit = static_cast<int>(std::min<std::int64_t>({MaxMatch, distance, n - i}));
                if (limit > bestLength && s[candidate + bestLength] == s[i + bestLength]) {
                    int length = 0;
                    while (length < limit && s[candidate + length] == s[i + length])
                        ++length;
                    if (length > bestLength) {
                        bestLength = length;
                        bestDistance = distance;
                        if (length == MaxMatch)
                            break;
                    }
                }
                const std::int64_t next = prev[static_cast<std::size_t>(candidate & (WindowSize - 1))];
                if (next >= candidate)
                    break;
                candidate = next;
            }
        }
        if (bestLength >= MinMatch) {
            tokens.push_back({static_cast<std::uint16_t>(256 + bestLength),
                              static_cast<std::uint16_t>(bestDistance & (WindowSize - 1))});
            for (int k = 0; k < bestLength; ++k)
                insert(i + k);
            i += bestLength;
        } else {
            tokens.push_back({s[i], 0});
            insert(i);
            ++i;
        }
    }
    return tokens;
}

// ---- Huffman ----

struct Code {
    std::uint64_t bits = 0;
    int length = 0;
};

struct HuffmanTable {
    // Inner nodes 1..316 with their children; a child 0 or below is the leaf of symbol -child.
    std::array<std::pair<int, int>, InnerNodes + 1> nodes{};
    std::array<Code, Symbols> codes{};
};

HuffmanTable buildHuffman(const std::vector<Token>& tokens) {
    std::array<std::uint64_t, Symbols> counts{};
    for (const Token& t : tokens)
        ++counts[t.symbol];
    // Items: (weight, child value); the order number keeps ties deterministic.
    using Item = std::pair<std::pair<std::uint64_t, int>, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    int order = 0;
    for (int symbol = 0; symbol < Symbols; ++symbol)
        queue.push({{counts[symbol], order++}, -symbol});
    HuffmanTable table;
    // Nodes are numbered in the order they are made, so the root comes last.
    for (int node = 1; node <= InnerNodes; ++node) {
        const Item zero = queue.top();
        queue.pop();
        const Item one = queue.top();
        queue.pop();
        table.nodes[node] = {zero.second, one.second};
        queue.push({{zero.first.first + one.first.first, order++}, node});
    }
    std::vector<std::pair<int, Code>> stack{{InnerNodes, Code{}}};
    while (!stack.empty()) {
        const auto [node, code] = stack.back();
        stack.pop_back();
        const int children[2] = {table.nodes[node].first, table.nodes[node].second};
        for (int bit = 0; bit < 2; ++bit) {
            const Code next{(code.bits << 1) | std::uint64_t(bit), code.length + 1};
            if (children[bit] > 0)
                stack.push_back({children[bit], next});
            else
                table.codes[-children[bit]] = next;
        }
    }
    return table;
}

int tokenBits(const HuffmanTable& table, const Token& t) {
    return table.codes[t.symbol].length + (t.symbol >= 256 ? 12 : 0);
}

// The decoder finishes the stream's last byte with tree walks that may only end in literals: a match code
// reaching into that byte would leave no room for its offset. Trailing matches whose code ends there are
// written as literals instead; literals grow the stream, so this repeats until the last match code ends
// before the last byte.
void keepMatchCodesOutOfLastByte(std::vector<Token>& tokens, const std::string& text,
                                 const HuffmanTable& table, std::uint64_t& totalBits) {
    for (;;) {
        const std::uint64_t lastByteStart = totalBits == 0 ? 0 : 8 * ((totalBits + 7) / 8 - 1);
        std::uint64_t bitsAfter = 0, bytesAfter = 0;
        std::size_t m = tokens.size();
        while (m > 0 && tokens[m - 1].symbol < 256) {
            --m;
            bitsAfter += static_cast<std::uint64_t>(tokenBits(table, tokens[m]));
            ++bytesAfter;
        }
        if (m == 0)
            return;
        const Token match = tokens[m - 1];
        const std::uint64_t codeEnd = totalBits - bitsAfter - 12;
        if (codeEnd <= lastByteStart)
            return;
        const std::size_t length = match.symbol - 256u;
        const std::size_t start = text.size() - bytesAfter - length;
        std::vector<Token> literals;
        std::uint64_t literalBits = 0;
        for (std::size_t k = 0; k < length; ++k) {
            const Token literal{static_cast<unsigned char>(text[start + k]), 0};
            literals.push_back(literal);
            literalBits += static_cast<std::uint64_t>(tokenBits(table, literal));
        }
        totalBits = totalBits - static_cast<std::uint64_t>(tokenBits(table, match)) + literalBits;
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(m - 1));
        tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(m - 1), literals.begin(), literals.end());
    }
}

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out(out) {}
    void put(std::uint64_t bits, int length) {
        while (length > 0) {
            const int chunk = std::min(length, 32);
            length -= chunk;
            acc = (acc << chunk) | ((bits >> length) & ((std::uint64_t(1) << chunk) - 1));
            count += chunk;
            while (count >= 8) {
                count -= 8;
                out += static_cast<char>((acc >> count) & 0xFF);
            }
        }
    }
    void finish() {
        if (count > 0)
            out += static_cast<char>((acc << (8 - count)) & 0xFF);
        count = 0;
    }

private:
    std::string& out;
    std::uint64_t acc = 0;
    int count = 0;
};

void putInt16(std::string& out, int value) {
    const auto v = static_cast<std::uint16_t>(value);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void putUInt32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putField(std::string& out, const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

} // namespace

std::string encodeRunLength0(const std::string& data) {
    return encodeRunLength(
        data, [](std::string& out) { out.append("\x90\x90", 2); }, [](std::size_t n) { return n != Escape; },
        3);
}

std::string encodeRunLength1(const std::string& data) {
    return encodeRunLength(
        data, [](std::string& out) { out.append("\x90\x00", 2); }, [](std::size_t n) { return n != 0; }, 3);
}

std::string encodeLzssHuffman(const std::string& data) {
    std::vector<Token> tokens = findTokens(data);
    const HuffmanTable table = buildHuffman(tokens);
    std::uint64_t totalBits = 0;
    for (const Token& t : tokens)
        totalBits += static_cast<std::uint64_t>(tokenBits(table, t));
    keepMatchCodesOutOfLastByte(tokens, data, table, totalBits);

    std::string out;
    out.reserve(1897 + totalBits / 8 + 1);
    for (int node = 1; node <= InnerNodes; ++node) {
        putInt16(out, 0);
        putInt16(out, table.nodes[node].first);
        putInt16(out, table.nodes[node].second);
    }
    BitWriter writer(out);
    for (const Token& t : tokens) {
        const Code& code = table.codes[t.symbol];
        writer.put(code.bits, code.length);
        if (t.symbol >= 256)
            writer.put(t.offset, 12);
    }
    writer.finish();
    // Meaningful bits of the last byte, 1 to 8; an empty stream counts as a full byte.
    const int lastBits = static_cast<int>(totalBits % 8);
    out += static_cast<char>(lastBits == 0 ? 8 : lastBits);
    return out;
}

std::string encodeEntry(const PackEntry& entry) {
    if (entry.stored)
        return entry.bytes;
    switch (entry.method) {
    case 0:
        return encodeRunLength0(entry.bytes);
    case 1:
        return encodeMethod1(entry.bytes);
    default:
        return entry.bytes;
    }
}

std::string packArchive(const std::vector<PackEntry>& entries, const std::string& archiveName) {
    std::vector<std::string> data;
    data.reserve(entries.size());
    std::uint64_t total = 0;
    for (const PackEntry& e : entries) {
        data.push_back(encodeEntry(e));
        total += data.back().size();
    }
    std::string out;
    out.reserve(18 * (entries.size() + 1) + 1 + static_cast<std::size_t>(total));
    putField(out, archiveName, 9);
    putField(out, "", 4);
    out += '\0';
    putUInt32(out, static_cast<std::uint32_t>(total));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        putField(out, entries[i].name, 9);
        putField(out, entries[i].extension, 4);
        out += static_cast<char>(static_cast<unsigned char>(entries[i].method & 0xFF));
        putUInt32(out, static_cast<std::uint32_t>(data[i].size()));
    }
    out += '\0';
    for (const std::string& d : data)
        out += d;
    return out;
}
