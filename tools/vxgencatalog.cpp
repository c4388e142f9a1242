// vxgencatalog DIR ARTICLES [SEED]: writes a synthetic catalog of ARTICLES articles into DIR.
#include "tools/cataloggenerator.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
bool parseNumber(const char* text, unsigned long long& value) {
    if (!text || !*text || *text == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && end && *end == '\0';
}
} // namespace

int main(int argc, char* argv[]) {
    unsigned long long articles = 0, seed = 1;
    if (argc < 3 || argc > 4 || !parseNumber(argv[2], articles) ||
        (argc == 4 && !parseNumber(argv[3], seed))) {
        std::fprintf(stderr, "usage: %s DIR ARTICLES [SEED]\n", argc > 0 ? argv[0] : "vxgencatalog");
        return 2;
    }
    GeneratedCatalogSize size;
    std::string error;
    if (!generateCatalog(argv[1], std::size_t(articles), seed, &size, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %zu main groups, %zu upper groups, %zu groups, %zu articles\n", argv[1], size.mainGroups,
                size.upperGroups, size.groups, size.articles);
    return 0;
}
