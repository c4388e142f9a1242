#include "catalog/streamreaders.h"

#include <cstdint>
#include <cstring>

std::string fixedText(const unsigned char* p, int width) {
    const void* nul = std::memchr(p, 0, static_cast<std::size_t>(width));
    const auto len = nul ? static_cast<const unsigned char*>(nul) - p : width;
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(len));
}

static bool isSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

namespace {
constexpr std::uint64_t ones = 0x0101010101010101u;
constexpr std::uint64_t highBits = ones * 0x80;

// The high bit of every byte of word below n (n <= 0x80), exactly: no borrow crosses a byte.
std::uint64_t bytesBelow(std::uint64_t word, unsigned char n) {
    return ~(((word | highBits) - ones * n) | word) & highBits;
}

// The high bit of every byte of word equal to c, exactly.
std::uint64_t bytesEqual(std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (ones * c);
    return ~(((x & ~highBits) + ~highBits) | x) & highBits;
}
} // namespace

std::size_t simplifiedText(char* out, const unsigned char* p, int width) {
    const std::size_t size = width > 0 ? std::size_t(width) : 0;
    // Most of a record's fields are empty.
    if (size == 0 || p[0] == 0)
        return 0;
    // This runs for every text of every article while a catalog opens, so it goes without branches on the
    // bytes: every white space is written as ' ' and kept only after a byte that was not white space.
    std::size_t n = 0;
    bool afterSpace = true;
    const auto put = [&](unsigned char byte) {
        const char c = static_cast<char>(byte);
        const bool space = isSpace(c);
        out[n] = space ? ' ' : c;
        n += !(space && afterSpace);
        afterSpace = space;
    };
    const auto end = [&] { return n > 0 && afterSpace ? n - 1 : n; };
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        // The masks below take the first byte for the lowest.
        word = __builtin_bswap64(word);
#endif
        // The text ends at its first NUL: only the bytes before it count.
        const std::uint64_t nuls = bytesEqual(word, 0);
        const std::uint64_t inText = nuls ? (nuls & (~nuls + 1)) - 1 : highBits;
        const std::size_t count = nuls ? std::size_t(__builtin_ctzll(nuls)) / 8 : 8;
        const std::uint64_t spaces = bytesEqual(word, ' ') & inText;
        // The bytes go as they are when every byte below '!' among them is a space that follows no other
        // space: text with single spaces between its words, the usual case. Output never outruns input,
        // so all eight fit even where fewer count.
        if ((bytesBelow(word, '!') & inText) == spaces && (spaces & (spaces << 8)) == 0 &&
            !(afterSpace && (spaces & 0x80))) {
            std::memcpy(out + n, p + i, 8);
            n += count;
            if (count > 0)
                afterSpace = (spaces >> (8 * count - 1)) & 1;
        } else {
            for (std::size_t k = 0; k < count; ++k)
                put(p[i + k]);
        }
        if (nuls)
            return end();
    }
    for (std::size_t i = size & ~std::size_t(7); i < size && p[i] != 0; ++i)
        put(p[i]);
    return end();
}

void simplifyText(std::string& text) {
    std::size_t out = 0;
    bool pendingSpace = false;
    for (char c : text) {
        if (isSpace(c)) {
            pendingSpace = out > 0;
            continue;
        }
        if (pendingSpace)
            text[out++] = ' ';
        pendingSpace = false;
        text[out++] = c;
    }
    text.resize(out);
}
