#pragma once

#include "uncompress/archiveentry.h"

#include <istream>
#include <string>

// Run-length codes of the archive. Both write one byte per plain byte and, after the escape byte 0x90 and a
// count n, n further copies of the byte written last. They differ in how a plain 0x90 is escaped.
// targetDir is the encoded path of the target directory and ends in "/". Both return 0 on success, 1 on
// failure.

// A whole record stored with method 0 (0x90 0x90 is a plain 0x90): reads exactly entry.size bytes from the
// archive into the record's file.
int decodeRunLengthEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry);

// The last step of method 1 (0x90 0x00 is a plain 0x90): turns "lzss.tmp" into the record's file.
int decodeRunLengthTemp(const std::string& targetDir, const ArchiveEntry& entry);
