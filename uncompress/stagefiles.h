#pragma once

#include "uncompress/archiveentry.h"

#include <fstream>
#include <string>

// Paths of the files a stage reads and writes, all inside the target directory (which ends in "/").
inline std::string huffTempPath(const std::string& targetDir) {
    return targetDir + "huff.tmp";
}
inline std::string lzssTempPath(const std::string& targetDir) {
    return targetDir + "lzss.tmp";
}
inline std::string entryPath(const std::string& targetDir, const ArchiveEntry& entry) {
    return targetDir + entryFileName(entry);
}

// Closes a finished output and tells whether everything reached the file.
inline bool closeOutput(std::ofstream& out, bool written) {
    out.close();
    return written && !out.fail();
}
