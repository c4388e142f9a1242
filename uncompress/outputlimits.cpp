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

bool roomToWrite(const std::string& directory) {
    const OutputLimits& limits = current();
    if (limits.freeBytes)
        return limits.freeBytes(directory) >= limits.minFreeBytes;
    const QStorageInfo storage(QFile::decodeName(QByteArray::fromStdString(directory)));
    // A file system that cannot be asked is left to the writes themselves to fail.
    return !storage.isValid() || storage.bytesAvailable() < 0 ||
           std::uint64_t(storage.bytesAvailable()) >= limits.minFreeBytes;
}
