#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vxtest {

// Writes catalog directories from a readable description:
//   CatalogWriter w;
//   w.category("A", "Bauelemente").subCategory("A01", latin1("Widerstände")).subSubCategory("A0101",
//   "Kohle"); w.article("A0101", "Widerstand 4,7k").tiers({{1, 2380}, {10, 2142}});
//   w.appendRaw(CatalogFile::Art, "xyz").omit(CatalogFile::WgOber);
//   QVERIFY(w.writeTo(dir.path()));
// Keys and texts are raw bytes, cut or padded with NUL to their width; numbers keep their low 16 or 32 bits.
// A new article has one price tier, 1 at 1.000, unless told otherwise.

enum class CatalogFile { WgHaupt, WgOber, WgGruppe, Art };

// One record of WGHAUPT, WGOBER or WGGRUPPE.
struct GroupFields {
    std::string key, name;
    std::string trailer = std::string(2, '\0'); // the two bytes nobody reads
    std::string bytes(int keyLength) const;
};

// One ART record.
struct ArticleFields {
    std::string groupKey, name;
    std::array<std::string, 6> otherNames;
    std::string description;
    int status = 1, packingUnit = 1, vatClass = 1, priceUnit = 1;
    // (quantity, price in thousandths), written as unsigned 32-bit values.
    std::vector<std::pair<std::int64_t, std::int64_t>> priceTiers;
    // -1 writes the number of tiers; 128 and more announce no tiers, and then none are written.
    int tierCountByte = -1;

    ArticleFields& others(std::array<std::string, 6> names) { return otherNames = std::move(names), *this; }
    ArticleFields& describe(std::string text) { return description = std::move(text), *this; }
    ArticleFields& numbers(int status_, int packingUnit_, int vatClass_, int priceUnit_);
    ArticleFields& tiers(std::vector<std::pair<std::int64_t, std::int64_t>> list) {
        return priceTiers = std::move(list), *this;
    }
    ArticleFields& countByte(int byte) { return tierCountByte = byte, *this; }
    std::string bytes() const;
};

class CatalogWriter {
public:
    CatalogWriter& category(std::string key, std::string name) {
        return group(CatalogFile::WgHaupt, key, name);
    }
    CatalogWriter& subCategory(std::string key, std::string name) {
        return group(CatalogFile::WgOber, key, name);
    }
    CatalogWriter& subSubCategory(std::string key, std::string name) {
        return group(CatalogFile::WgGruppe, key, name);
    }
    // The returned item stays valid until the next article is added.
    ArticleFields& article(std::string groupKey, std::string name);

    // Bytes written behind the records of a file, e.g. a partial record.
    CatalogWriter& appendRaw(CatalogFile file, std::string bytes) { return extra[int(file)] += bytes, *this; }
    CatalogWriter& omit(CatalogFile file) { return modes[int(file)] = Omit, *this; }
    // A directory of the file's name stands in its place.
    CatalogWriter& directoryInstead(CatalogFile file) { return modes[int(file)] = Directory, *this; }

    std::vector<GroupFields>& groups(CatalogFile file) { return records[int(file)]; }
    std::string fileBytes(CatalogFile file) const;
    // Creates directory if needed and writes the four files into it, replacing what was there.
    bool writeTo(const QString& directory) const;
    static const char* fileName(CatalogFile file);

private:
    CatalogWriter& group(CatalogFile file, std::string& key, std::string& name) {
        return records[int(file)].push_back({std::move(key), std::move(name)}), *this;
    }
    enum Mode { Write, Omit, Directory };
    std::array<std::vector<GroupFields>, 3> records;
    std::vector<ArticleFields> articleSpecs;
    std::array<std::string, 4> extra;
    std::array<Mode, 4> modes{Write, Write, Write, Write};
};

// Latin-1 bytes of a UTF-8 text (for readable umlauts in test descriptions); other characters become '?'.
std::string latin1(const char* utf8);

} // namespace vxtest
