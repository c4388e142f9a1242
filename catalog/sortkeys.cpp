#include "catalog/sortkeys.h"

#include "catalog/rowtexts.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <string_view>

namespace {

// Dense keys from an order of the items and an equality of neighbours in it.
template <class Equal>
std::vector<std::uint32_t> denseKeys(const std::vector<std::uint32_t>& sorted, std::size_t count,
                                     Equal equal) {
    std::vector<std::uint32_t> keys(count);
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i > 0 && !equal(sorted[i - 1], sorted[i]))
            ++key;
        keys[sorted[i]] = key;
    }
    return keys;
}

// Without a collation (the C locale), texts compare by code points, which for Latin-1 bytes is the order
// of the bytes as unsigned numbers: the article's own bytes are compared, and no text is made at all.
std::string_view latin1Field(const Article& article, int column) {
    switch (column) {
    case ColumnName:
        return article.name;
    case ColumnDescription:
        return article.description;
    default:
        return article.otherNames;
    }
}

std::vector<std::uint32_t> keysByBytes(const ArticleIndex& index, int column) {
    std::vector<std::string_view> texts(index.size());
    for (std::uint32_t n = 0; n < index.size(); ++n)
        texts[n] = latin1Field(index.article(n), column);
    std::vector<std::uint32_t> sorted(texts.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::sort(sorted.begin(), sorted.end(),
              [&texts](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
    return denseKeys(sorted, texts.size(),
                     [&texts](std::uint32_t a, std::uint32_t b) { return texts[a] == texts[b]; });
}

// Any locale: each distinct text is compared once with the others, by its collation key when there are
// many (a key compares as fast as bytes; the collator itself is slow).
std::vector<std::uint32_t> keysByCollation(const ArticleIndex& index, int column) {
    QHash<QString, std::uint32_t> ids;
    std::vector<QString> distinct;
    std::vector<std::uint32_t> idOf(index.size());
    const bool pathColumn = column >= ColumnCategory;
    for (std::uint32_t n = 0; n < index.size(); ++n) {
        const QString text = articleColumnText(index.article(n), pathColumn ? index.path(n) : IndexPath(),
                                               RowKind::Group, column);
        const auto found = ids.constFind(text);
        if (found != ids.constEnd()) {
            idOf[n] = *found;
            continue;
        }
        idOf[n] = std::uint32_t(distinct.size());
        ids.insert(text, idOf[n]);
        distinct.push_back(text);
    }
    ids.clear();
    std::vector<std::uint32_t> sorted(distinct.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    const QCollator collator;
    std::vector<std::uint32_t> rank;
    constexpr std::size_t manyTexts = 4096;
    if (distinct.size() > manyTexts && collator.locale().language() != QLocale::C) {
        std::vector<QCollatorSortKey> sortKeys;
        sortKeys.reserve(distinct.size());
        for (const QString& text : distinct)
            sortKeys.push_back(collator.sortKey(text));
        const auto less = [&](std::uint32_t a, std::uint32_t b) {
            if (distinct[a].isEmpty() || distinct[b].isEmpty())
                return distinct[a].compare(distinct[b]) < 0;
            return sortKeys[a].compare(sortKeys[b]) < 0;
        };
        std::sort(sorted.begin(), sorted.end(), less);
        rank =
            denseKeys(sorted, distinct.size(), [&](std::uint32_t a, std::uint32_t b) { return !less(a, b); });
    } else {
        const auto less = [&](std::uint32_t a, std::uint32_t b) {
            return textLess(collator, distinct[a], distinct[b]);
        };
        std::sort(sorted.begin(), sorted.end(), less);
        rank =
            denseKeys(sorted, distinct.size(), [&](std::uint32_t a, std::uint32_t b) { return !less(a, b); });
    }
    for (std::uint32_t& id : idOf)
        id = rank[id];
    return idOf;
}

} // namespace

bool textLess(const QCollator& collator, QStringView a, QStringView b) {
    // localeAwareCompare orders an empty text by code points; so did the list, so does this.
    return (a.isEmpty() || b.isEmpty() ? a.compare(b) : collator.compare(a, b)) < 0;
}

void ColumnKeys::clear() {
    for (auto& keys : perColumn)
        std::vector<std::uint32_t>().swap(keys);
    built.fill(false);
}

const std::vector<std::uint32_t>& ColumnKeys::keys(const ArticleIndex& index, int column) {
    const auto c = std::size_t(column);
    if (!built[c]) {
        const bool bytes = column == ColumnName || column == ColumnDescription || column == ColumnOtherNames;
        perColumn[c] = bytes && QCollator().locale().language() == QLocale::C
                           ? keysByBytes(index, column)
                           : keysByCollation(index, column);
        built[c] = true;
    }
    return perColumn[c];
}

void sortByKeys(std::vector<std::uint32_t>& rows, const std::vector<std::uint32_t>& keys, bool descending) {
    const std::size_t n = rows.size();
    if (n < 2)
        return;
    // Key and row in one word; a least-significant-digit radix sort on the key half is stable and reads
    // the rows twice instead of comparing them n log n times.
    std::vector<std::uint64_t> items(n), spare(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t key = descending ? ~keys[rows[i]] : keys[rows[i]];
        items[i] = std::uint64_t(key) << 32 | rows[i];
    }
    for (int shift : {32, 48}) {
        std::vector<std::size_t> start(65537, 0);
        for (std::uint64_t item : items)
            ++start[((item >> shift) & 0xFFFF) + 1];
        // One digit for all: this pass would not move anything.
        if (std::find(start.begin() + 1, start.end(), n) != start.end())
            continue;
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (std::uint64_t item : items)
            spare[start[(item >> shift) & 0xFFFF]++] = item;
        items.swap(spare);
    }
    for (std::size_t i = 0; i < n; ++i)
        rows[i] = std::uint32_t(items[i]);
}
