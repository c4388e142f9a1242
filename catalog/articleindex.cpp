#include "catalog/articleindex.h"

#include <algorithm>

void ArticleIndex::build(const Catalog& catalog) {
    clear();
    for (unsigned c = 0; c < catalog.size(); ++c) {
        categoryFirstSub.push_back(std::uint32_t(subFirstGroup.size()));
        const Category& category = catalog[c];
        for (unsigned s = 0; s < category.subCategories.size(); ++s) {
            subFirstGroup.push_back(std::uint32_t(groups.size()));
            const SubCategory& upper = category.subCategories[s];
            for (unsigned ss = 0; ss < upper.subSubCategories.size(); ++ss) {
                groups.push_back({c, s, ss, std::uint32_t(articles.size())});
                for (const Article& article : upper.subSubCategories[ss].articles)
                    articles.push_back(&article);
            }
        }
    }
    categoryFirstSub.push_back(std::uint32_t(subFirstGroup.size()));
    subFirstGroup.push_back(std::uint32_t(groups.size()));
    groups.push_back({0, 0, 0, std::uint32_t(articles.size())});
    if (catalog.texts && catalog.texts->size() == articles.size())
        searchTexts = catalog.texts;
}

void ArticleIndex::clear() {
    // Swapped out rather than cleared, so that a large catalog's tables are handed back.
    std::vector<const Article*>().swap(articles);
    std::vector<Group>().swap(groups);
    std::vector<std::uint32_t>().swap(categoryFirstSub);
    std::vector<std::uint32_t>().swap(subFirstGroup);
    searchTexts = std::make_shared<ArticleTexts>();
}

IndexPath ArticleIndex::path(std::uint32_t number) const {
    // The last group whose first article is at or before number; groups without articles share their
    // first number with the next one, so the last of those is the one that holds it.
    const auto next = std::upper_bound(groups.begin(), groups.end() - 1, number,
                                       [](std::uint32_t n, const Group& g) { return n < g.first; });
    const Group& group = *(next - 1);
    return {group.c, group.s, group.ss, number - group.first};
}

std::uint32_t ArticleIndex::groupIndex(unsigned c, unsigned s, unsigned ss) const {
    if (categoryFirstSub.empty() || c >= categoryFirstSub.size() - 1 ||
        s >= categoryFirstSub[c + 1] - categoryFirstSub[c])
        return none;
    const std::uint32_t sub = categoryFirstSub[c] + s;
    if (ss >= subFirstGroup[sub + 1] - subFirstGroup[sub])
        return none;
    return subFirstGroup[sub] + ss;
}

std::uint32_t ArticleIndex::number(const IndexPath& path) const {
    const Range range = group(path.c, path.s, path.ss);
    if (path.a >= range.end - range.first)
        return none;
    return range.first + path.a;
}

ArticleIndex::Range ArticleIndex::category(unsigned c) const {
    if (categoryFirstSub.empty() || c >= categoryFirstSub.size() - 1)
        return {};
    return {groups[subFirstGroup[categoryFirstSub[c]]].first,
            groups[subFirstGroup[categoryFirstSub[c + 1]]].first};
}

ArticleIndex::Range ArticleIndex::group(unsigned c, unsigned s, unsigned ss) const {
    const std::uint32_t g = groupIndex(c, s, ss);
    if (g == none)
        return {};
    return {groups[g].first, groups[g + 1].first};
}
