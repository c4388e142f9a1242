#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Catalog;

// The texts of every article of a catalog, kept once and laid out for a search that runs over many articles
// in one go: all names in one buffer, all descriptions in another, all alternative names in a third, each
// field followed by '\n'. Articles are numbered in the order they are appended; a catalog's store holds
// them in catalog order, and its articles view their fields here.
//
// Offsets are 32 bits, which halves the index against size_t; a buffer that would grow past 4 GiB is
// refused rather than wrapped.
class ArticleTexts {
public:
    enum Field { Name, Description, OtherNames, FieldCount };

    // Room for this many articles and bytes of each field kind (their '\n' included): fields appended
    // within it never move.
    void reserve(std::size_t articles, const std::array<std::size_t, FieldCount>& bytes);
    // Appends the next article's fields. Throws std::length_error, changing nothing, when a buffer would
    // pass 4 GiB or the article count 2^32 - 1. Fields known to hold no '\n' (folded ones) are not looked
    // through for one.
    void append(std::string_view name, std::string_view description, std::string_view otherNames,
                bool withoutNewlines = false);
    std::uint32_t size() const { return std::uint32_t(starts[Name].size() - 1); }

    // The field's bytes without the '\n' that ends it.
    std::string_view field(Field f, std::uint32_t article) const {
        return std::string_view(buffers[f])
            .substr(starts[f][article], starts[f][article + 1] - starts[f][article] - 1);
    }
    // The whole buffer of a field kind; the fields of article i are [start(f, i), start(f, i + 1) - 1),
    // each followed by its '\n'. start(f, size()) is the buffer's size.
    std::string_view buffer(Field f) const { return buffers[f]; }
    std::uint32_t start(Field f, std::uint32_t article) const { return starts[f][article]; }
    // The article whose field or its '\n' holds a byte of the buffer, looking no further back than
    // article `from`.
    std::uint32_t articleAt(Field f, std::uint32_t offset, std::uint32_t from = 0) const;
    // Whether some field of this kind holds a '\n' of its own, which the search then cannot take for the
    // field's end.
    bool hasInnerNewline(Field f) const { return innerNewline[f]; }

    // The same texts in another order: article k of the result is article order[k] here. order must be a
    // permutation of 0 .. size() - 1.
    ArticleTexts permuted(const std::vector<std::uint32_t>& order) const;

private:
    std::array<std::string, FieldCount> buffers;
    // One more entry than articles: the end of the last field's '\n'.
    std::array<std::vector<std::uint32_t>, FieldCount> starts{{{0}, {0}, {0}}};
    std::array<bool, FieldCount> innerNewline{};
};

// Gathers the texts every article of catalog views into one new store in catalog order, which the catalog
// keeps and its articles view from then on: for a catalog put together other than by loading it.
// Throws std::length_error, changing nothing, beyond ArticleTexts' limits.
void keepTextsOnce(Catalog& catalog);
