#include "catalog/sortkeys.h"

#include <QCollator>

#include <algorithm>
#include <string_view>
#include <unordered_map>

bool textLess(const QCollator& collator, QStringView a, QStringView b) {
    // localeAwareCompare orders an empty text by code points; so did the list, so does this.
    return (a.isEmpty() || b.isEmpty() ? a.compare(b) : collator.compare(a, b)) < 0;
}

std::vector<std::uint32_t> rankTexts(std::uint32_t count, const std::function<QString(std::uint32_t)>& text) {
    // A catalog repeats its names and prices many times over: each distinct text is collated once. The
    // standard hash of the characters finds them several times faster than QHash's seeded one.
    std::unordered_map<std::u16string_view, std::uint32_t> ids;
    ids.reserve(count);
    std::vector<std::pair<QString, std::uint32_t>> distinct;
    std::vector<std::uint32_t> ranks(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        QString shown = text(i);
        // The view stays valid: moving a QString keeps its characters where they are.
        const std::u16string_view characters(QStringView(shown).utf16(), std::size_t(shown.size()));
        const auto [id, added] = ids.try_emplace(characters, std::uint32_t(distinct.size()));
        if (added)
            distinct.emplace_back(std::move(shown), id->second);
        ranks[i] = id->second;
    }
    ids = {};
    // The texts themselves are sorted, not their numbers, to compare neighbours in memory. Sort keys
    // measured slower than the collator: making and freeing one per text costs more than their quicker
    // comparisons save, even for a quarter of a million texts.
    const QCollator collator;
    const auto less = [&collator](const auto& a, const auto& b) {
        return textLess(collator, a.first, b.first);
    };
    std::sort(distinct.begin(), distinct.end(), less);
    std::vector<std::uint32_t> rankOf(distinct.size());
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < distinct.size(); ++k) {
        if (k > 0 && less(distinct[k - 1], distinct[k]))
            ++rank;
        rankOf[distinct[k].second] = rank;
    }
    for (std::uint32_t& r : ranks)
        r = rankOf[r];
    return ranks;
}
