#include "uncompress/lzss.h"

#include "uncompress/blockio.h"
#include "uncompress/stagefiles.h"

#include <fstream>
#include <memory>

namespace {
constexpr unsigned WindowSize = 4096;
constexpr unsigned WindowMask = WindowSize - 1;

struct Window {
    unsigned char bytes[WindowSize] = {};
    unsigned r = 0;
};
} // namespace

int decodeLzssTemp(const std::string& targetDir) {
    std::ifstream in(huffTempPath(targetDir), std::ios::binary);
    if (!in)
        return 1;
    std::ofstream out(lzssTempPath(targetDir), std::ios::binary | std::ios::trunc);
    if (!out)
        return 1;
    auto source = std::make_unique<ByteSource>(in);
    auto sink = std::make_unique<ByteSink>(out, targetDir);
    Window window;
    // The bytes of one match, taken from the window before any of them is stored back.
    unsigned char staging[256];

    unsigned char flag = 0, c = 0, length = 0, high = 0, low = 0;
    while (!sink->stopped() && source->get(flag)) {
        if (flag == 0) {
            if (!source->get(c))
                break;
            sink->put(c);
            window.bytes[window.r] = c;
            window.r = (window.r + 1) & WindowMask;
            continue;
        }
        if (!source->get(length) || !source->get(high) || !source->get(low))
            break; // a token cut short by the end of the file is not used
        const unsigned offset = (unsigned(high) << 8) | low;
        unsigned pos = (window.r + WindowSize - offset) & WindowMask;
        for (unsigned i = 0; i < length; ++i, pos = (pos + 1) & WindowMask)
            staging[i] = window.bytes[pos];
        for (unsigned i = 0; i < length; ++i, window.r = (window.r + 1) & WindowMask)
            window.bytes[window.r] = staging[i];
        sink->put(staging, length);
    }
    const bool readAll = !source->failed();
    return closeOutput(out, sink->finish()) && readAll ? 0 : 1;
}
