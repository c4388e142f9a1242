// One catalog file under the fast loader and under record-by-record reading, below the upper levels of a
// generated catalog. VX_FUZZ_LEVEL names the file (CatalogLevel).
#include "fuzz/catalogoracle.h"
#include "fuzz/seedcatalog.h"

#include <cstddef>
#include <cstdint>

namespace {
Catalog parents;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const CatalogFiles files = generatedCatalogFiles(parentArticles, parentSeed);
    for (int level = MainGroups; level < VX_FUZZ_LEVEL; ++level)
        plainLoad(parents, CatalogLevel(level), files[std::size_t(level)]);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto level = CatalogLevel(VX_FUZZ_LEVEL);
    Catalog fast = parents;
    require(fastLoad(fast, level, bytes), "a string stream is read to its end");
    Catalog plain = parents;
    plainLoad(plain, level, bytes);
    requireEqual(fast, plain, "block loading and record-by-record reading agree");
    return 0;
}
