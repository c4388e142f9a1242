#pragma once

#include "uncompress/archiveentry.h"

#include <istream>
#include <string>

// First stage of method 1: decodes the static Huffman code of one record (a table of 316 tree nodes, the bit
// stream and a byte telling how many bits of the stream's last byte count) into the token file "huff.tmp":
// 0x00 and the byte for a literal, 0x01, the length and the 12-bit offset (high byte first) for a match.
// The archive must stand at the record's data; on well-formed data exactly entry.size bytes are consumed.
// targetDir is the encoded path of the target directory and ends in "/". Returns 0 on success, 1 on failure.
int decodeHuffmanEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry);
