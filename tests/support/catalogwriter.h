#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vxtest {

// Writes catalog directories from a readable description. Keys and texts are raw bytes cut or padded with
// NUL, numbers keep their low 16 or 32 bits, an article has one tier (1 at 1.000) unless told otherwise, and
// the two unread bytes behind a group record are FF 01.
enum class CatalogFile { WgHaupt, WgOber, WgGruppe, Art };

struct ArticleFields {
    std::string groupKey, name;
    std::array<std::string, 6> otherNames;
    std::string description;
    int status = 1, packingUnit = 1, vatClass = 1, priceUnit = 1;
    // (quantity, price in thousandths), written as unsigned 32-bit values.
    using Tiers = std::vector<std::pair<std::int64_t, std::int64_t>>;
    Tiers priceTiers;
    // -1 writes the number of tiers; 128 and more announce no tiers, and then none are written.
    int tierCountByte = -1;

    ArticleFields& others(std::array<std::string, 6> names) { return otherNames = names, *this; }
    ArticleFields& describe(std::string text) { return description = text, *this; }
    ArticleFields& numbers(int status_, int packingUnit_, int vatClass_, int priceUnit_) {
        status = status_, packingUnit = packingUnit_, vatClass = vatClass_, priceUnit = priceUnit_;
        return *this;
    }
    ArticleFields& tiers(Tiers list) { return priceTiers = list, *this; }
    ArticleFields& countByte(int byte) { return tierCountByte = byte, *this; }
};

class CatalogWriter {
public:
    CatalogWriter& category(std::string key, std::string name) { return add(0, key, name); }
    CatalogWriter& subCategory(std::string key, std::string name) { return add(1, key, name); }
    CatalogWriter& subSubCategory(std::string key, std::string name) { return add(2, key, name); }
    // The returned item stays valid until the next article is added.
    ArticleFields& article(std::string groupKey, std::string name);

    std::string fileBytes(CatalogFile file) const;
    // Creates directory if needed and writes the four files into it.
    bool writeTo(const QString& directory) const;
    static const char* fileName(CatalogFile file) {
        return std::array{"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"}[int(file)];
    }

private:
    CatalogWriter& add(int file, std::string key, std::string name) {
        return records[file].push_back({key, name}), *this;
    }
    std::array<std::vector<std::pair<std::string, std::string>>, 3> records; // key, name
    std::vector<ArticleFields> articles;
};

// Latin-1 bytes of a UTF-8 text (for readable umlauts in test descriptions); other characters become '?'.
std::string latin1(const char* utf8);

} // namespace vxtest
