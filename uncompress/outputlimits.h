#pragma once

#include <cstdint>
#include <functional>
#include <string>

// How far the output of one record may grow. A method-1 record can expand about 20,000-fold, so a small
// hostile archive could otherwise fill the disk; a real catalog stays far below both limits.
struct OutputLimits {
    // Per file a record writes (its temporary files included): the archive's own sizes are 32-bit.
    std::uint64_t maxFileBytes = std::uint64_t(4) << 30;
    // Writing stops before it would leave less than this free on the target's file system ...
    std::uint64_t minFreeBytes = std::uint64_t(64) << 20;
    // ... looked at before each record and after every so many bytes written.
    std::uint64_t checkInterval = std::uint64_t(16) << 20;
    // Free bytes on the file system of an encoded directory path; empty asks the file system itself.
    std::function<std::uint64_t(const std::string& directory)> freeBytes;
};

// The limits every stage applies; tests may set smaller ones.
const OutputLimits& outputLimits();
void setOutputLimits(const OutputLimits& limits);

// Free bytes of the file system holding directory; UINT64_MAX when it cannot be asked.
std::uint64_t freeBytesAt(const std::string& directory);
// Whether that file system has at least the minimum free.
inline bool roomToWrite(const std::string& directory) {
    return freeBytesAt(directory) >= outputLimits().minFreeBytes;
}
