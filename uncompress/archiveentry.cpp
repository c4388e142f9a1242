#include "uncompress/archiveentry.h"

#include "catalog/streamreaders.h"

void readEntry(std::istream& archive, ArchiveEntry& entry) {
    unsigned char record[18] = {};
    archive.read(reinterpret_cast<char*>(record), sizeof record);
    entry.name = fixedText(record, 9);
    entry.extension = fixedText(record + 9, 4);
    entry.method = static_cast<signed char>(record[13]);
    entry.size = uint32At(record + 14);
}
