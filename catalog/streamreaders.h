#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

// Little-endian readers over a binary stream, shared by the catalog readers and the decompression stages.
// End of input shows only after a read has failed: callers test the stream after reading.

// Reads one byte into byte; at the end of input byte keeps its value and the stream reports eof and fail.
void readByte(std::istream& in, unsigned char& byte);

// Two bytes, low byte first, as a signed 16-bit value.
int readInt16(std::istream& in);

// Four bytes, least significant first.
std::uint32_t readUInt32(std::istream& in);

// Reads a text field of exactly width bytes; the text ends at the first NUL, the rest of the field is
// consumed.
void readFixedText(std::istream& in, std::string& text, int width);

// Collapses runs of space, CR, LF and tab into single spaces and trims both ends.
void simplifyText(std::string& text);

// Buffer counterparts for records already read in one piece. They never look past width bytes of p.
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
