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

// Fills entry from the next 18 bytes. Returns false when the stream could not deliver all of them.
bool readEntry(std::istream& archive, ArchiveEntry& entry);

// The file the record unpacks to: name, then "." and the extension when there is one.
std::string entryFileName(const ArchiveEntry& entry);

// Whether the record may be written into the target directory. Names come from the archive and are not
// trusted: a separator, ".", ".." or an empty name would leave the directory, and the two temporary files
// of the stages must not be overwritten by a record while they are being read.
bool isSafeEntryName(const ArchiveEntry& entry);
