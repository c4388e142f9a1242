#include "catalog/streamreaders.h"

#include <cstring>

std::string fixedText(const unsigned char* p, int width) {
    const void* nul = std::memchr(p, 0, static_cast<std::size_t>(width));
    const auto len = nul ? static_cast<const unsigned char*>(nul) - p : width;
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(len));
}

static bool isSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

std::size_t simplifiedText(char* out, const unsigned char* p, int width) {
    const std::size_t size = width > 0 ? std::size_t(width) : 0;
    // Most of a record's fields are empty.
    if (size == 0 || p[0] == 0)
        return 0;
    const void* nul = std::memchr(p, 0, size);
    const std::size_t length = nul ? std::size_t(static_cast<const unsigned char*>(nul) - p) : size;
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
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        // Eight bytes none of which is below '!' (no white space, no control byte) go as they are.
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        constexpr std::uint64_t ones = 0x0101010101010101u;
        if (((word - ones * '!') & ~word & ones * 0x80) == 0) {
            std::memcpy(out + n, &word, 8);
            n += 8;
            afterSpace = false;
            continue;
        }
        for (std::size_t k = i; k < i + 8; ++k)
            put(p[k]);
    }
    for (; i < length; ++i)
        put(p[i]);
    return n > 0 && afterSpace ? n - 1 : n;
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
