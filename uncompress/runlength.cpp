#include "uncompress/runlength.h"

#include "uncompress/blockio.h"
#include "uncompress/stagefiles.h"

#include <fstream>
#include <memory>

namespace {
constexpr unsigned char Escape = 0x90;
}

int decodeRunLengthEntry(std::istream& archive, const std::string& targetDir, const ArchiveEntry& entry) {
    if (!isSafeEntryName(entry))
        return 1;
    std::ofstream file(entryPath(targetDir, entry), std::ios::binary | std::ios::trunc);
    if (!file)
        return 1;
    auto source = std::make_unique<ByteSource>(archive, entry.size);
    auto sink = std::make_unique<ByteSink>(file, targetDir);
    // A run at the very start repeats 0x00 rather than whatever an earlier record left behind.
    unsigned char last = 0, b = 0, n = 0;
    bool complete = true;
    while (!sink->stopped() && source->get(b)) {
        if (b != Escape) {
            last = b;
            sink->put(b);
        } else if (!source->get(n)) {
            // The escape's second byte lies beyond the record or the archive.
            complete = false;
            break;
        } else if (n == Escape) {
            last = Escape;
            sink->put(Escape);
        } else {
            sink->repeat(last, n);
        }
    }
    complete = complete && source->exhausted();
    return closeOutput(file, sink->finish()) && complete ? 0 : 1;
}

int decodeRunLengthTemp(const std::string& targetDir, const ArchiveEntry& entry) {
    if (!isSafeEntryName(entry))
        return 1;
    std::ifstream in(lzssTempPath(targetDir), std::ios::binary);
    if (!in)
        return 1;
    std::ofstream file(entryPath(targetDir, entry), std::ios::binary | std::ios::trunc);
    if (!file)
        return 1;
    auto source = std::make_unique<ByteSource>(in);
    auto sink = std::make_unique<ByteSink>(file, targetDir);
    unsigned char last = 0, b = 0, n = 0;
    while (!sink->stopped() && source->get(b)) {
        if (b != Escape) {
            last = b;
            sink->put(b);
        } else if (!source->get(n)) {
            break; // a pair cut off by the end of the file writes nothing
        } else if (n == 0) {
            last = Escape;
            sink->put(Escape);
        } else {
            sink->repeat(last, n);
        }
    }
    const bool readAll = !source->failed();
    return closeOutput(file, sink->finish()) && readAll ? 0 : 1;
}
