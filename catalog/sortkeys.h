#pragma once

#include "catalog/articleindex.h"

#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

class QCollator;

// The order of the article list: texts compared by the default locale's collation, an empty text by code
// points (before any other).
bool textLess(const QCollator& collator, QStringView a, QStringView b);

// For each column, the articles of a catalog ranked once by the text they show there in a group row: the
// key of an article is the position of its text among all distinct texts of the column in list order, so
// equal texts share a key. Sorting rows then compares numbers instead of texts. Keys are computed on the
// first request for a column and kept until clear().
class ColumnKeys {
public:
    void clear();
    // keys[number] for every article of index.
    const std::vector<std::uint32_t>& keys(const ArticleIndex& index, int column);
    bool has(int column) const { return built[std::size_t(column)]; }

private:
    std::array<std::vector<std::uint32_t>, ArticleColumnCount> perColumn;
    std::array<bool, ArticleColumnCount> built{};
};

// Sorts rows (article numbers) by keys[row], ascending or descending; rows with equal keys keep their
// order, as in a stable sort.
void sortByKeys(std::vector<std::uint32_t>& rows, const std::vector<std::uint32_t>& keys, bool descending);
