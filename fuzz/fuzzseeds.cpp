// vxfuzzseeds DIR: writes the seed corpus of every fuzz target into DIR/<target>/, from generated catalogs
// and archives packed from them, each input small enough for the targets' length limit.
#include "catalog/article.h"
#include "catalog/ordercsv.h"
#include "fuzz/catalogoracle.h"
#include "fuzz/decoderseeds.h"
#include "fuzz/seedcatalog.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t largestSeed = 12 * 1024;

bool writeSeed(const fs::path& directory, const std::string& name, const std::string& bytes) {
    std::error_code error;
    fs::create_directories(directory, error);
    std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "cannot write %s\n", (directory / name).c_str());
    return bool(out);
}

// Whole records from the front of a group file, up to largestSeed bytes.
std::string groupPrefix(const std::string& file, std::size_t recordSize) {
    return file.substr(0, largestSeed / recordSize * recordSize);
}

// The articles of an ART file in pieces of whole records, none above largestSeed bytes.
std::vector<std::string> articlePieces(const std::string& file) {
    std::vector<std::string> pieces(1);
    for (std::size_t pos = 0; pos + Article::fixedSize <= file.size();) {
        const auto* record = reinterpret_cast<const unsigned char*>(file.data() + pos);
        const std::size_t size = Article::fixedSize + 8 * std::size_t(Article::tierCount(record));
        if (pieces.back().size() + size > largestSeed)
            pieces.emplace_back();
        pieces.back() += file.substr(pos, size);
        pos += size;
    }
    return pieces;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argc > 0 ? argv[0] : "vxfuzzseeds");
        return 2;
    }
    const fs::path root = argv[1];
    bool ok = true;

    // The single-file targets place their records below the parent catalog's upper levels.
    const CatalogFiles parent = generatedCatalogFiles(parentArticles, parentSeed);
    ok &= writeSeed(root / "fuzz_wghaupt", "generated", groupPrefix(parent[0], 43));
    ok &= writeSeed(root / "fuzz_wgober", "generated", groupPrefix(parent[1], 45));
    ok &= writeSeed(root / "fuzz_wggruppe", "generated", groupPrefix(parent[2], 47));
    const std::vector<std::string> pieces = articlePieces(parent[3]);
    for (std::size_t i = 0; i < pieces.size() && i < 8; ++i)
        ok &= writeSeed(root / "fuzz_art", "generated-" + std::to_string(i), pieces[i]);

    for (std::size_t articles : {0, 3, 12, 30}) {
        const CatalogFiles files = generatedCatalogFiles(articles, articles + 7);
        const std::string name = "generated-" + std::to_string(articles);
        ok &= writeSeed(root / "fuzz_catalog", name, joinCatalogInput(files));
        if (articles == 12) {
            // Without ART: the separators decide which files exist.
            ok &= writeSeed(root / "fuzz_catalog", name + "-without-art",
                            files[0] + fileSeparator + files[1] + fileSeparator + files[2]);
        }
    }
    ok &= writeDecoderSeeds(root, writeSeed);

    // Patterns that can run from one field into the next, that read escapes in unusual ways, that need
    // the case of letters beyond ASCII, or go beyond Latin-1; over fields with such letters, control bytes
    // and the spaces only some escapes know. Ignoring case, all fields, with the cost check.
    static const char fields[] = "BC547C-12\0Transistor NPN 45V 0,1A\0\0BC548B\0\0\xe4\xc4 \xe9\xc9\0"
                                 "Widerstand 1k Ohm\0a\x1c\0\xdf \xb5 \xff \x85\xa0\v\f\0";
    int seed = 0;
    for (const char* pattern :
         {"BC[^ ]*B", "\\s+", "^\\s*$", "BC.*B", "Widerstand[^;]*Ohm", "transistor|regler", ".", "(.)\\1",
          "(\\p{L})\\1", "(?i)(.)\\1", "\\c\\(?!\\s)", "[^]a]*\\W$", "(?<=a)\\D", "\\x{100}|\xc3\xa4", "x*",
          "\\Qa|b\\E|y"})
        ok &= writeSeed(root / "fuzz_matcher", "pattern-" + std::to_string(seed++),
                        std::string(1, '\x8e') + pattern + '\0' + std::string(fields, sizeof fields - 1));
    // The order list: an export of every fifth article of the parent catalog, and a spreadsheet's re-save.
    Catalog catalog;
    for (int level = MainGroups; level <= Articles; ++level)
        plainLoad(catalog, CatalogLevel(level), parent[std::size_t(level)]);
    // Nothing ordered yet: only the header.
    std::vector<FoundArticle> found;
    ok &= writeSeed(root / "fuzz_ordercsv", "empty", orderListCsv(found).toStdString());
    std::size_t n = 0;
    for (unsigned c = 0; c < catalog.size(); ++c)
        for (unsigned s = 0; s < catalog[c].subCategories.size(); ++s)
            for (unsigned ss = 0; ss < catalog[c].subCategories[s].subSubCategories.size(); ++ss) {
                std::vector<Article>& articles = catalog[c].subCategories[s].subSubCategories[ss].articles;
                for (unsigned a = 0; a < articles.size(); ++a)
                    if (n++ % 5 == 0 && !articles[a].priceTiers.empty()) {
                        articles[a].orderedUnits = articles[a].priceTiers.front().quantity + int(n % 3);
                        found.push_back({&articles[a], {c, s, ss, a}});
                    }
            }
    ok &= writeSeed(root / "fuzz_ordercsv", "export", orderListCsv(found).toStdString());
    ok &= writeSeed(root / "fuzz_ordercsv", "resaved",
                    "Artikel,Menge (VPE),Gruppe,Notiz\n\"Widerstand 1,8 Ohm 5%\",3,A0101,\"a \"\"b\"\"\"\n"
                    "K\xfchlk\xf6rper,1,A0201,\r\n");
    return ok ? 0 : 1;
}
