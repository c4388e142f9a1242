#pragma once

#include "catalog/category.h"
#include "catalog/indexpath.h"

#include <vector>

// The index paths of the ordered articles of a catalog, in catalog order. Whoever changes the order state
// of the catalog's articles reports each change here (or clears the index with the orders), and the order
// count, the totals and the order list then visit the ordered articles alone instead of every article of
// the catalog: the same articles in the same order, so the same sums to the last bit.
class OrderIndex {
public:
    void clear() { paths.clear(); }
    std::size_t size() const { return paths.size(); }
    // The article at path may have changed its ordered units: the index follows the article.
    void update(const Catalog& catalog, const IndexPath& path);

    // count += 1, net and gross += orderPrice for each ordered article, in catalog order.
    void sumOrders(const Catalog& catalog, int& count, double& net, double& gross) const;
    // Appends every ordered article with its path, in catalog order.
    void listOrderedArticles(const Catalog& catalog, std::vector<FoundArticle>& found) const;

private:
    std::vector<IndexPath> paths;
};

// The article at path, or null when any index lies outside its list.
const Article* articleAt(const Catalog& catalog, const IndexPath& path);
