#include "fuzz/decoderseeds.h"

#include "fuzz/seedcatalog.h"
#include "tools/archivepacker.h"
#include "uncompress/huffman.h"
#include "uncompress/lzss.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The intermediate files of method 1 for data, made by the stages themselves in a scratch directory.
bool intermediateFiles(const std::string& data, const fs::path& scratch, std::string& huff,
                       std::string& lzss) {
    const std::string packed = encodeMethod1(data);
    std::istringstream archive(packed);
    const std::string dir = scratch.string() + "/";
    const ArchiveEntry entry{"X", "", 1, std::uint32_t(packed.size())};
    if (decodeHuffmanEntry(archive, dir, entry) != 0 || decodeLzssTemp(dir) != 0)
        return false;
    huff = readFile(scratch / "huff.tmp");
    lzss = readFile(scratch / "lzss.tmp");
    return true;
}

} // namespace

bool writeDecoderSeeds(const fs::path& root, const SeedWriter& write) {
    bool ok = true;
    const fs::path scratch = root / "scratch";
    fs::create_directories(scratch);

    // File contents of every kind a record holds: catalog files, text, runs of 0x90, nothing at all.
    const CatalogFiles small = generatedCatalogFiles(4, 3);
    const std::string contents[] = {small[0], small[1], small[3].substr(0, 2000),
                                    "Katalog 2024\n" + std::string(300, '\0') + std::string(40, '\x90') + "x",
                                    std::string()};
    int n = 0;
    for (const std::string& data : contents) {
        const std::string name = "seed-" + std::to_string(n++);
        ok &= write(root / "fuzz_huffman", name, encodeMethod1(data));
        ok &= write(root / "fuzz_runlength_entry", name, encodeRunLength0(data));
        std::string huff, lzss;
        ok &= intermediateFiles(data, scratch, huff, lzss);
        ok &= write(root / "fuzz_lzss", name, huff);
        ok &= write(root / "fuzz_runlength_temp", name, lzss);
    }

    // Archives of small catalogs, all records with method 1, then the group files with method 0.
    for (int method0 = 0; method0 < 2; ++method0) {
        const CatalogFiles files = generatedCatalogFiles(method0 ? 2 : 5, 11);
        const char* const names[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"};
        std::vector<PackEntry> entries;
        for (int f = 0; f < 4; ++f)
            entries.push_back({names[f], "", method0 && f < 3 ? 0 : 1, files[std::size_t(f)], false});
        entries.push_back({"LIESMICH", "TXT", 0, "Vendrix-Katalog\n", false});
        while (entries.size() < 12)
            entries.push_back({"LEER" + std::to_string(entries.size()), "", 0, std::string(), false});
        ok &= write(root / "fuzz_unpack", "catalog-" + std::to_string(method0), packArchive(entries));
    }
    fs::remove_all(scratch);
    return ok;
}
