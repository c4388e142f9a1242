#pragma once

#include "catalog/articletexts.h"
#include "catalog/category.h"
#include "catalog/indexpath.h"

#include <cstdint>
#include <memory>
#include <vector>

// Numbers every article of a catalog in catalog order (main group, upper group, group, article), so that a
// list of articles is a list of small numbers: a group is a range of them, a search result and the order
// list are ascending sequences, and each number leads back to its article and index path. Built once a
// catalog is read; it points into that catalog, which must then keep its shape until clear().
class ArticleIndex {
public:
    static constexpr std::uint32_t none = UINT32_MAX;

    struct Range {
        std::uint32_t first = 0;
        std::uint32_t end = 0;
    };

    void build(const Catalog& catalog);
    void clear();

    std::uint32_t size() const { return std::uint32_t(articles.size()); }
    // number < size()
    const Article& article(std::uint32_t number) const { return *articles[number]; }
    IndexPath path(std::uint32_t number) const;
    // The number of the article at path, or none when any index lies outside its list.
    std::uint32_t number(const IndexPath& path) const;
    // The articles of main group c, or of group (c, s, ss); empty outside the catalog.
    Range category(unsigned c) const;
    Range group(unsigned c, unsigned s, unsigned ss) const;
    // The catalog's texts, numbered alike; empty when the catalog has none of its size (see Catalog::texts).
    const ArticleTexts& texts() const { return *searchTexts; }

private:
    struct Group {
        unsigned c, s, ss;
        std::uint32_t first;
    };
    // Index of group (c, s, ss) in groups, or none.
    std::uint32_t groupIndex(unsigned c, unsigned s, unsigned ss) const;

    std::vector<const Article*> articles;
    std::shared_ptr<const ArticleTexts> searchTexts = std::make_shared<ArticleTexts>();
    // Every group in catalog order with its first article's number, and one past the last group's end.
    std::vector<Group> groups;
    // For each main group, the position of its first upper group in subFirstGroup; one extra entry at the
    // end.
    std::vector<std::uint32_t> categoryFirstSub;
    // For each upper group in catalog order, the index of its first group; one extra entry at the end.
    std::vector<std::uint32_t> subFirstGroup;
};
