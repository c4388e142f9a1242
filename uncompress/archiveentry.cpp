#include "uncompress/archiveentry.h"

#include "catalog/streamreaders.h"

bool readEntry(std::istream& archive, ArchiveEntry& entry) {
    unsigned char record[18] = {};
    archive.read(reinterpret_cast<char*>(record), sizeof record);
    entry.name = fixedText(record, 9);
    entry.extension = fixedText(record + 9, 4);
    entry.method = static_cast<signed char>(record[13]);
    entry.size = uint32At(record + 14);
    return archive.gcount() == static_cast<std::streamsize>(sizeof record);
}

std::string entryFileName(const ArchiveEntry& entry) {
    return entry.extension.empty() ? entry.name : entry.name + "." + entry.extension;
}

bool isSafeEntryName(const ArchiveEntry& entry) {
    if (entry.name.empty() || entry.name == "." || entry.name == "..")
        return false;
    const std::string file = entryFileName(entry);
    if (file.find_first_of("/\\") != std::string::npos)
        return false;
    return file != "huff.tmp" && file != "lzss.tmp";
}
