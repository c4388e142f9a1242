#include "uncompress/extractentry.h"

#include "uncompress/huffman.h"
#include "uncompress/lzss.h"
#include "uncompress/outputlimits.h"
#include "uncompress/runlength.h"

int extractEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry) {
    if ((entry.method != 0 && entry.method != 1) || !isSafeEntryName(entry) || !roomToWrite(targetDir))
        return 1;
    if (entry.method == 0)
        return decodeRunLengthEntry(archive, targetDir, entry);
    if (decodeHuffmanEntry(archive, targetDir, entry) != 0 || decodeLzssTemp(targetDir) != 0)
        return 1;
    return decodeRunLengthTemp(targetDir, entry);
}
