#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vxtest {

// Writes catalog directories for tests from a readable description:
//
//   CatalogWriter w;
//   w.category("A", "Bauelemente").subCategory("A01", latin1("Widerstände"));
//   w.subSubCategory("A0101", "Kohleschicht");
//   w.article("A0101", "Widerstand 4,7k").tiers({{1, 2380}, {10, 2142}});
//   w.category("\0"s, "NUL-Schlüssel");    // raw bytes, NUL included
//   w.appendRaw(CatalogFile::Art, "xyz");   // a partial record behind the articles
//   w.omit(CatalogFile::WgOber);            // the file is not written at all
//   QVERIFY(w.writeTo(dir.path()));
//
// Keys and texts are raw bytes as they stand in the files (latin1() turns readable UTF-8 into them).
// Keys and text fields are cut or padded with NUL to their width; numbers are stored as their low 16 or
// 32 bits. A new article has one price tier, 1 at 1.000, unless told otherwise.

enum class CatalogFile { WgHaupt, WgOber, WgGruppe, Art };

// One record of WGHAUPT, WGOBER or WGGRUPPE.
struct GroupFields {
    std::string key;
    std::string name;
    std::string trailer = std::string(2, '\0'); // the two bytes nobody reads

    std::string bytes(int keyLength) const;
};

// One ART record.
struct ArticleFields {
    std::string groupKey;
    std::string name;
    std::array<std::string, 6> otherNames;
    std::string description;
    int status = 1;
    int packingUnit = 1;
    int vatClass = 1;
    int priceUnit = 1;
    // (quantity, price in thousandths), written as unsigned 32-bit values.
    std::vector<std::pair<std::int64_t, std::int64_t>> priceTiers;
    // The tier count byte; -1 writes the number of tiers. Values of 128 and more announce no tiers:
    // then the tiers above are not written either.
    int tierCountByte = -1;

    ArticleFields& others(std::array<std::string, 6> names) {
        otherNames = std::move(names);
        return *this;
    }
    ArticleFields& describe(std::string text) {
        description = std::move(text);
        return *this;
    }
    ArticleFields& numbers(int status_, int packingUnit_, int vatClass_, int priceUnit_);
    ArticleFields& tiers(std::vector<std::pair<std::int64_t, std::int64_t>> list) {
        priceTiers = std::move(list);
        return *this;
    }
    ArticleFields& countByte(int byte) {
        tierCountByte = byte;
        return *this;
    }

    std::string bytes() const;
};

class CatalogWriter {
public:
    CatalogWriter& category(std::string key, std::string name);
    CatalogWriter& subCategory(std::string key, std::string name);
    CatalogWriter& subSubCategory(std::string key, std::string name);
    // The returned item stays valid until the next article is added.
    ArticleFields& article(std::string groupKey, std::string name);

    // Bytes written behind the records of a file, e.g. a partial record.
    CatalogWriter& appendRaw(CatalogFile file, std::string bytes);
    // The file is left out of the directory.
    CatalogWriter& omit(CatalogFile file);
    // A directory of the file's name stands in its place.
    CatalogWriter& directoryInstead(CatalogFile file);

    std::vector<GroupFields>& groups(CatalogFile file) { return records[int(file)]; }
    std::vector<ArticleFields>& articles() { return articleSpecs; }

    // Contents of a file as writeTo() writes it.
    std::string fileBytes(CatalogFile file) const;
    // Creates directory (and its parents) if needed and writes the four files into it.
    bool writeTo(const QString& directory) const;

    static const char* fileName(CatalogFile file);

private:
    enum Mode { Write, Omit, Directory };
    std::array<std::vector<GroupFields>, 3> records;
    std::vector<ArticleFields> articleSpecs;
    std::array<std::string, 4> extra;
    std::array<Mode, 4> modes{Write, Write, Write, Write};
};

// Latin-1 bytes of a UTF-8 text (for readable umlauts in test descriptions); other characters become '?'.
std::string latin1(const char* utf8);

} // namespace vxtest
