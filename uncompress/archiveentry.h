#pragma once

#include <cstdint>
#include <istream>
#include <string>

// One 18-byte record of an archive's directory.
struct ArchiveEntry {
    std::string name;
    std::string extension;
    int method = 0;
    std::uint32_t size = 0;
};

// Fills entry from the next 18 bytes; a short read leaves the stream at eof.
void readEntry(std::istream& archive, ArchiveEntry& entry);
