// The order list reader on any bytes, matched against a generated catalog: a failure leaves no rows, every
// row is either ordered or refused, an order names an article that takes its units, and the export of the
// orders reads back to the same orders.
#include "catalog/ordercsv.h"
#include "catalog/orderindex.h"
#include "fuzz/catalogoracle.h"
#include "fuzz/seedcatalog.h"

#include <cstddef>
#include <cstdint>

namespace {
Catalog catalog;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const CatalogFiles files = generatedCatalogFiles(parentArticles, parentSeed);
    for (int level = MainGroups; level <= Articles; ++level)
        plainLoad(catalog, CatalogLevel(level), files[std::size_t(level)]);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const OrderCsv file = parseOrderCsv(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    require(file.status == OrderCsv::Ok || file.rows.empty(), "a refused file yields no rows");
    const OrderCsvMatch match = matchOrderCsv(catalog, file);
    require(match.orders.size() + match.refused.size() == file.rows.size(), "each row ordered or refused");
    // Ordered as the import orders them, listed as the export lists them.
    Catalog ordered = catalog;
    OrderIndex index;
    for (const auto& [path, units] : match.orders) {
        const Article* article = articleAt(catalog, path);
        require(article && units > 0 && article->acceptsOrderedUnits(units),
                "orders only what the dialog takes");
        ordered[path.c].setOrderedUnits(path.s, path.ss, path.a, units);
        index.update(ordered, path);
    }
    std::vector<FoundArticle> found;
    index.listOrderedArticles(ordered, found);
    const OrderCsvMatch again = matchOrderCsv(catalog, parseOrderCsv(orderListCsv(found)));
    require(again.refused.empty() && again.orders.size() == found.size(), "the export reads back whole");
    // Equal twins may trade places; their texts and units may not.
    for (std::size_t i = 0; i < found.size(); ++i)
        require(articleAt(catalog, again.orders[i].first)->name == found[i].article->name &&
                    again.orders[i].second == found[i].article->orderedUnits,
                "the export reads back to the same articles and units");
    return 0;
}
