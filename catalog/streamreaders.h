#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Readers of fields in records already read in one piece, shared by the catalog readers and the archive
// directory. They never look past width bytes of p.

// Collapses runs of space, CR, LF and tab into single spaces and trims both ends.
void simplifyText(std::string& text);
// The text of a field of width bytes, up to its first NUL.
std::string fixedText(const unsigned char* p, int width);
// Writes the text of a field as fixedText and simplifyText would make it to out, which has room for width
// characters, and returns its length.
std::size_t simplifiedText(char* out, const unsigned char* p, int width);
inline int int16At(const unsigned char* p) {
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t uint32At(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
