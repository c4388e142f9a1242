#pragma once

#include "catalog/article.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The searchable texts of every article of a catalog, laid out for a search that runs over many articles
// in one go: all names in one buffer, all descriptions in another, all alternative names in a third, each
// field followed by '\n'. Articles are numbered in the order they are appended.
//
// Offsets are 32 bits, which halves the index against size_t; a buffer that would grow past 4 GiB is
// refused rather than wrapped.
class ArticleTexts {
public:
    enum Field {
        Name = TextStore::Name,
        Description = TextStore::Description,
        OtherNames = TextStore::OtherNames,
        FieldCount
    };

    void clear();
    // Room for exactly this many articles and bytes of each field kind (their '\n' included).
    void reserve(std::size_t articles, const std::array<std::size_t, FieldCount>& bytes);
    // Returns the new article's number. Throws std::length_error, changing nothing, when a buffer would
    // pass 4 GiB or the article count 2^32 - 1.
    std::uint32_t append(const Article& article);
    // Appends one field of the next article without ever moving the buffer: false, changing nothing,
    // when the reserved room would not hold it. Articles appended field by field are complete once
    // each kind has had its field.
    bool appendWithinRoom(Field f, std::string_view text, std::string_view& kept);
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

private:
    std::array<std::string, FieldCount> buffers;
    // One more entry than articles: the end of the last field's '\n'.
    std::array<std::vector<std::uint32_t>, FieldCount> starts{{{0}, {0}, {0}}};
    std::array<bool, FieldCount> innerNewline{};
};
