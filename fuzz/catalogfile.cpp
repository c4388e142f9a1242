// One catalog file under the fast loader and under record-by-record reading, below the upper levels of a
// generated catalog. VX_FUZZ_LEVEL names the file (CatalogLevel).
#include "catalog/streamreaders.h"
#include "fuzz/catalogoracle.h"
#include "fuzz/seedcatalog.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

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
    // Both fold a record's texts with the same fast fold; here it meets the plain one.
    for (int width = 0; width <= int(std::min<std::size_t>(size, 80)); width += 7) {
        char folded[80];
        std::string plainText = fixedText(data, width);
        simplifyText(plainText);
        require(std::string_view(folded, simplifiedText(folded, data, width)) == plainText,
                "a text is folded as the plain fold does it");
    }
    return 0;
}
