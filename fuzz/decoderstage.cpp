// One decoding stage against its plain reference. VX_FUZZ_STAGE: 0 Huffman, 1 LZSS, 2 run-length of a
// record (method 0), 3 run-length of "lzss.tmp" (method 1). The record stages read the input as the
// record's data in an archive that goes on behind it, except that for every third input length the record
// claims one byte more than the archive holds.
#include "fuzz/catalogoracle.h"
#include "fuzz/referencedecoders.h"
#include "fuzz/scratchdir.h"
#include "uncompress/huffman.h"
#include "uncompress/lzss.h"
#include "uncompress/outputlimits.h"
#include "uncompress/runlength.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const char nextRecord[] = "NEXTRECORD-BYTES";

std::string readScratchFile(const std::string& name) {
    std::ifstream in(scratchDirectory() + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a record stage over input as described above and checks what it read and wrote.
template <class Stage, class Reference>
void checkRecordStage(const std::string& input, const char* output, Stage stage, Reference reference) {
    const bool cutShort = input.size() % 3 == 0;
    const std::string archiveBytes = cutShort ? input : input + nextRecord;
    ArchiveEntry entry{"ART", "", 0, std::uint32_t(input.size() + (cutShort ? 1 : 0))};
    std::istringstream archive(archiveBytes);
    const int status = stage(archive, scratchDirectory(), entry);
    archive.clear();
    const auto position = static_cast<std::uint64_t>(archive.tellg());
    require(position <= entry.size, "a stage never reads into the next record");

    const ReferenceResult expected = reference(archiveBytes, entry.size);
    require(status == (expected.ok ? 0 : 1), "the stage succeeds exactly when the reference does");
    if (status == 0) {
        require(position == entry.size, "a record that decodes is read to its end");
        require(readScratchFile(output) == expected.output, "the stage writes what the reference writes");
    }
}

template <class Stage, class Reference>
void checkTempStage(const std::string& input, const char* inputFile, const char* output, Stage stage,
                    Reference reference) {
    writeScratchFile(inputFile, input);
    const int status = stage();
    const ReferenceResult expected = reference(input);
    require(status == 0 && expected.ok, "a readable temporary file always decodes");
    require(readScratchFile(output) == expected.output, "the stage writes what the reference writes");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratchDirectory();
    // The references know nothing of the free space of the scratch file system; the limits are tested apart.
    OutputLimits unlimitedSpace;
    unlimitedSpace.freeBytes = [](const std::string&) { return UINT64_MAX; };
    setOutputLimits(unlimitedSpace);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const ArchiveEntry art{"ART", "", 1, 0};
    switch (VX_FUZZ_STAGE) {
    case 0:
        checkRecordStage(input, "huff.tmp", decodeHuffmanEntry, referenceHuffman);
        break;
    case 1:
        checkTempStage(
            input, "huff.tmp", "lzss.tmp", [] { return decodeLzssTemp(scratchDirectory()); }, referenceLzss);
        break;
    case 2:
        checkRecordStage(input, "ART", decodeRunLengthEntry, referenceRunLengthEntry);
        break;
    case 3:
        checkTempStage(
            input, "lzss.tmp", "ART", [&art] { return decodeRunLengthTemp(scratchDirectory(), art); },
            referenceRunLengthTemp);
        break;
    }
    return 0;
}
