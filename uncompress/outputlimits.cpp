#include "uncompress/outputlimits.h"

#include <QFile>
#include <QStorageInfo>

namespace {
OutputLimits& current() {
    static OutputLimits limits;
    return limits;
}
} // namespace

const OutputLimits& outputLimits() {
    return current();
}

void setOutputLimits(const OutputLimits& limits) {
    current() = limits;
}

std::uint64_t freeBytesAt(const std::string& directory) {
    if (current().freeBytes)
        return current().freeBytes(directory);
    const QStorageInfo storage(QFile::decodeName(QByteArray::fromStdString(directory)));
    // A file system that cannot be asked is left to the writes themselves to fail.
    if (!storage.isValid() || storage.bytesAvailable() < 0)
        return UINT64_MAX;
    return std::uint64_t(storage.bytesAvailable());
}
