// A whole catalog directory made of the input (the four files between separators; a file behind a missing
// separator is absent), loaded as the open slot loads it and then turned into list rows and order lists,
// which see every hostile number of it.
#include "catalog/articleindex.h"
#include "catalog/catalogloader.h"
#include "catalog/orderlist.h"
#include "catalogview/articlelistmodel.h"
#include "fuzz/catalogoracle.h"
#include "fuzz/scratchdir.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numeric>

namespace {

const char* const fileNames[] = {CatalogLoader::categoryFile, CatalogLoader::subCategoryFile,
                                 CatalogLoader::subSubCategoryFile, CatalogLoader::articleFile};

// Every cell of every article as a group row and, ordered at its first tier's quantity, as an order row,
// sorted by each column in turn.
void readCells(const ArticleListModel& list) {
    for (int row = 0; row < list.rowCount(); ++row) {
        for (int column = 0; column < ArticleColumnCount; ++column)
            list.index(row, column).data();
        list.index(row, ColumnName).data(Qt::DecorationRole);
    }
}

void showRows(Catalog& catalog) {
    ArticleIndex index;
    index.build(catalog);
    ArticleListModel list;
    list.setIndex(&index);
    std::vector<std::uint32_t> all(index.size());
    std::iota(all.begin(), all.end(), 0u);
    for (RowKind kind : {RowKind::Group, RowKind::Order}) {
        if (kind == RowKind::Order)
            for (Category& main : catalog)
                for (SubCategory& upper : main.subCategories)
                    for (SubSubCategory& group : upper.subSubCategories)
                        for (Article& article : group.articles)
                            article.orderedUnits = article.priceTiers.empty()
                                                       ? article.status
                                                       : article.priceTiers.back().quantity;
        list.setRows(all, kind);
        for (int column = 0; column < ArticleColumnCount; ++column) {
            list.sort(column, column % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
            readCells(list);
        }
    }
    QString html, text;
    for (unsigned c = 0; c < catalog.size(); ++c) {
        catalog[c].appendOrderListHtml(html);
        catalog[c].appendOrderListText(text, QStringLiteral(" | "), 8, 24, 12, 12);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Pixmaps of the rows need a GUI application; it lives as long as the process.
    static std::unique_ptr<QApplication> app(new QApplication(*argc, *argv));
    scratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CatalogFiles files;
    std::array<bool, 4> present;
    splitCatalogInput(std::string(reinterpret_cast<const char*>(data), size), files, present);
    for (int f = 0; f < 4; ++f) {
        if (present[f])
            writeScratchFile(fileNames[f], files[f]);
        else
            removeScratchFile(fileNames[f]);
    }

    // The loader adds the missing "/" itself.
    std::string directory = scratchDirectory();
    if (size % 2)
        directory.pop_back();
    Catalog loaded;
    CatalogLoader loader(loaded);
    const CatalogLoader::Status status = loader.loadDirectory(directory);
    if (!present[3]) {
        require(status == CatalogLoader::Status::OpenFailed && loaded.empty(),
                "a missing file empties the catalog");
        return 0;
    }
    require(status == CatalogLoader::Status::Complete, "every file read to its end");
    Catalog streamed;
    for (int f = 0; f < 4; ++f)
        fastLoad(streamed, CatalogLevel(f), files[f]);
    requireEqual(loaded, streamed, "the directory loads as its four streams");

    showRows(loaded);
    return 0;
}
