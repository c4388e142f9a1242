#include "fuzz/seedcatalog.h"

#include "tools/cataloggenerator.h"

#include <sstream>

CatalogFiles generatedCatalogFiles(std::size_t articles, std::uint64_t seed) {
    std::ostringstream out[4];
    generateCatalog(out[0], out[1], out[2], out[3], articles, seed);
    return {out[0].str(), out[1].str(), out[2].str(), out[3].str()};
}
