#pragma once

#include <string>
#include <vector>

// Writes catalog archives: a directory of 13 records (record 0 describes the archive and is never unpacked),
// one ignored byte, then the data of records 1 to 12.

struct PackEntry {
    std::string name;      // at most 9 bytes are stored
    std::string extension; // at most 4 bytes are stored
    int method = 1;        // 0 run-length, 1 run-length + LZSS + Huffman; other values store bytes unchanged
    std::string bytes;     // the file's content
    bool stored = false;   // bytes are already the record's data (hand-made records in tests)
};

// Method 0: run-length code with 0x90 0x90 for a plain 0x90.
std::string encodeRunLength0(const std::string& data);
// The run-length code of method 1, with 0x90 0x00 for a plain 0x90.
std::string encodeRunLength1(const std::string& data);
// LZSS tokens over a 4096-byte window, then a static Huffman code over the 317 symbols (256 literals and
// the match lengths 0 to 60), as a record's data: node table, bit stream, final-bits byte.
std::string encodeLzssHuffman(const std::string& data);
// The whole of method 1.
inline std::string encodeMethod1(const std::string& data) {
    return encodeLzssHuffman(encodeRunLength1(data));
}

// The record's data for its method.
std::string encodeEntry(const PackEntry& entry);

// The archive of the given records (twelve for an archive that unpacks completely) behind record 0.
std::string packArchive(const std::vector<PackEntry>& entries, const std::string& archiveName = "KATALOG");
