#pragma once

#include "uncompress/archiveentry.h"

#include <QString>
#include <istream>
#include <string>

// Unpacks the record that the archive stands at into targetDir (encoded path ending in "/"), by its method:
// 0 run-length, 1 Huffman, LZSS and run-length through the temporary files "huff.tmp" and "lzss.tmp".
// Returns 1 without touching the archive or the directory for an unknown method or an unsafe name,
// 1 when any stage fails, 0 otherwise.
int extractEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry);

// Unpacks records 1 to 12 of the archive into targetDir (a missing trailing "/" is added; an empty path is a
// failure) under a modal progress dialog that can be cancelled between records. Returns 0 on success or
// cancel, 1 on failure; files of records unpacked before a failure stay.
int uncompressArchive(const QString& archivePath, const QString& targetDir);
