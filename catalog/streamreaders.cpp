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
    std::size_t n = 0;
    bool pendingSpace = false;
    for (const unsigned char* end = p + (width > 0 ? width : 0); p != end && *p; ++p) {
        const char c = static_cast<char>(*p);
        if (isSpace(c)) {
            pendingSpace = n > 0;
            continue;
        }
        if (pendingSpace)
            out[n++] = ' ';
        pendingSpace = false;
        out[n++] = c;
    }
    return n;
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
