#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>

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

// Collects output bytes and hands them to the stream in large blocks.
class ByteSink {
public:
    explicit ByteSink(std::ostream& out) : out(out) {}
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void put(unsigned char c) {
        if (fill == BlockSize)
            flush();
        buffer[fill++] = c;
    }
    void put(const unsigned char* p, std::size_t n);
    void repeat(unsigned char c, std::size_t n);
    // Writes what is pending; false when any write failed.
    bool finish();

private:
    void flush();

    static constexpr std::size_t BlockSize = 64 * 1024;
    std::ostream& out;
    std::size_t fill = 0;
    unsigned char buffer[BlockSize];
};
