#pragma once

#include <cstddef>
#include <istream>
#include <string>

// The three group files share one record shape: a key of keyLength raw bytes, a 40-byte name field
// and two bytes nobody needs.
namespace grouprecord {
constexpr int nameWidth = 40;
constexpr std::size_t size(int keyLength) {
    return static_cast<std::size_t>(keyLength) + nameWidth + 2;
}

// Fills key and name from one complete record.
void parse(const unsigned char* record, int keyLength, std::string& key, std::string& name);
// Reads one record; a short read leaves the stream at eof and key and name as they were emptied.
void read(std::istream& in, int keyLength, std::string& key, std::string& name);
} // namespace grouprecord
