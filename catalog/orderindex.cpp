#include "catalog/orderindex.h"

#include <algorithm>
#include <tuple>

namespace {
bool before(const IndexPath& x, const IndexPath& y) {
    return std::tie(x.c, x.s, x.ss, x.a) < std::tie(y.c, y.s, y.ss, y.a);
}
} // namespace

const Article* articleAt(const Catalog& catalog, const IndexPath& path) {
    if (path.c >= catalog.size())
        return nullptr;
    const Category& main = catalog[path.c];
    if (path.s >= main.subCategories.size())
        return nullptr;
    const SubCategory& upper = main.subCategories[path.s];
    if (path.ss >= upper.subSubCategories.size())
        return nullptr;
    const SubSubCategory& group = upper.subSubCategories[path.ss];
    return path.a < group.articles.size() ? &group.articles[path.a] : nullptr;
}

void OrderIndex::update(const Catalog& catalog, const IndexPath& path) {
    const auto at = std::lower_bound(paths.begin(), paths.end(), path, before);
    const bool listed = at != paths.end() && !before(path, *at);
    const Article* article = articleAt(catalog, path);
    const bool ordered = article && article->orderedUnits > 0;
    if (ordered && !listed)
        paths.insert(at, path);
    else if (!ordered && listed)
        paths.erase(at);
}

void OrderIndex::sumOrders(const Catalog& catalog, int& count, double& net, double& gross) const {
    for (const IndexPath& path : paths) {
        const Article* article = articleAt(catalog, path);
        if (!article || article->orderedUnits <= 0)
            continue;
        double n = 0.0, g = 0.0;
        article->orderPrice(n, g);
        ++count;
        net += n;
        gross += g;
    }
}

void OrderIndex::listOrderedArticles(const Catalog& catalog, std::vector<FoundArticle>& found) const {
    for (const IndexPath& path : paths)
        if (const Article* article = articleAt(catalog, path); article && article->orderedUnits > 0)
            found.push_back({article, path});
}
