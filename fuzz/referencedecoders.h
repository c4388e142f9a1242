#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The decoding stages written the plain way, bit by bit and byte by byte over strings, as the fast stages'
// oracle. Each returns true for success and false for failure like the stage's 0 and 1; on failure the
// output is whatever was decoded so far. Where the format leaves a malformed case open they decide as the
// stages do: a child naming no node fails, a match offset reaching past the bit stream fails, a token or a
// pair cut short by the end of a temporary file is dropped, a run before any byte repeats 0x00.

struct ReferenceResult {
    bool ok = false;
    std::string output;
    std::size_t consumed = 0; // archive bytes read (the record stages)
};

// archive: the bytes from the record's data on (the record and whatever follows it).
ReferenceResult referenceHuffman(const std::string& archive, std::uint32_t size);
ReferenceResult referenceLzss(const std::string& tokens);
ReferenceResult referenceRunLengthEntry(const std::string& archive, std::uint32_t size);
ReferenceResult referenceRunLengthTemp(const std::string& bytes);
