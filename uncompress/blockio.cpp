#include "uncompress/blockio.h"

#include "uncompress/outputlimits.h"

#include <algorithm>
#include <cstring>

bool ByteSource::refill() {
    if (remaining == 0 || !in)
        return false;
    const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(remaining, BlockSize));
    in.read(reinterpret_cast<char*>(buffer), want);
    const auto got = in.gcount();
    if (got <= 0)
        return false;
    pos = 0;
    end = static_cast<std::size_t>(got);
    remaining -= end;
    return true;
}

void ByteSink::put(const unsigned char* p, std::size_t n) {
    while (n > 0) {
        if (fill == BlockSize)
            flush();
        const std::size_t chunk = std::min(n, BlockSize - fill);
        std::memcpy(buffer + fill, p, chunk);
        fill += chunk;
        p += chunk;
        n -= chunk;
    }
}

void ByteSink::repeat(unsigned char c, std::size_t n) {
    while (n > 0) {
        if (fill == BlockSize)
            flush();
        const std::size_t chunk = std::min(n, BlockSize - fill);
        std::memset(buffer + fill, c, chunk);
        fill += chunk;
        n -= chunk;
    }
}

void ByteSink::flush() {
    const OutputLimits& limits = outputLimits();
    if (written + fill > limits.maxFileBytes)
        overLimit = true;
    if (!overLimit && (!asked || sinceCheck + fill >= limits.checkInterval)) {
        knownFree = freeBytesAt(directory);
        sinceCheck = 0;
        asked = true;
    }
    // Between two looks the free space shrinks by what was written, as far as this record knows.
    if (knownFree < limits.minFreeBytes || knownFree - limits.minFreeBytes < sinceCheck + fill)
        overLimit = true;
    if (!overLimit) {
        out.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(fill));
        written += fill;
        sinceCheck += fill;
    }
    fill = 0;
}

bool ByteSink::finish() {
    flush();
    out.flush();
    return !overLimit && static_cast<bool>(out);
}
