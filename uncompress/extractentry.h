#pragma once

#include "uncompress/archiveentry.h"

#include <istream>
#include <string>

// Unpacks the record that the archive stands at into targetDir (encoded path ending in "/"), by its method:
// 0 run-length, 1 Huffman, LZSS and run-length through the temporary files "huff.tmp" and "lzss.tmp".
// Returns 1 without touching the archive or the directory for an unknown method, an unsafe name or a target
// file system with less than the minimum of outputLimits() free; 1 when any stage fails or its output passes
// those limits; 0 otherwise.
int extractEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry);
