#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

// Block-wise reading and writing for the decoding stages: the stages work byte by byte, the streams see
// large reads and writes only.

// Reads a stream in blocks, never more than limit bytes in total, so that a stage never takes bytes that
// belong to the next record of the archive.
class ByteSource {
public:
    explicit ByteSource(std::istream& in, std::uint64_t limit = UINT64_MAX) : in(in), remaining(limit) {}
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    bool get(unsigned char& c) {
        if (pos == end && !refill())
            return false;
        c = buffer[pos++];
        return true;
    }

    // True when all limit bytes were delivered (as opposed to a read that came up short).
    bool exhausted() const { return remaining == 0 && pos == end; }
    // True when the stream reported an error rather than its end.
    bool failed() const { return in.bad(); }

private:
    bool refill();

    static constexpr std::size_t BlockSize = 64 * 1024;
    std::istream& in;
    std::uint64_t remaining;
    std::size_t pos = 0, end = 0;
    unsigned char buffer[BlockSize];
};

// Collects output bytes and hands them to the stream in large blocks, within the output limits of the
// directory it writes into: once a block would pass them, nothing more is written and finish() fails.
class ByteSink {
public:
    ByteSink(std::ostream& out, const std::string& directory) : out(out), directory(directory) {}
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void put(unsigned char c) {
        if (fill == BlockSize)
            flush();
        buffer[fill++] = c;
    }
    void put(const unsigned char* p, std::size_t n);
    void repeat(unsigned char c, std::size_t n);
    // Writes what is pending; false when any write failed or a limit stopped the output.
    bool finish();
    // True once a limit stopped the output: the rest of the input need not be decoded.
    bool stopped() const { return overLimit; }

private:
    void flush();

    static constexpr std::size_t BlockSize = 64 * 1024;
    std::ostream& out;
    const std::string& directory;
    std::uint64_t written = 0;
    // Free space when last asked, and what was written since; asked at the first block.
    std::uint64_t knownFree = 0;
    std::uint64_t sinceCheck = 0;
    bool asked = false;
    bool overLimit = false;
    std::size_t fill = 0;
    unsigned char buffer[BlockSize];
};
