// A whole catalog directory made of the input (the four files between separators; a file behind a missing
// separator is absent), loaded as the open slot loads it and then turned into list rows and order lists,
// which see every hostile number of it.
#include "catalog/articleitem.h"
#include "catalog/catalogloader.h"
#include "catalog/orderlist.h"
#include "fuzz/catalogoracle.h"
#include "fuzz/scratchdir.h"

#include <QApplication>
#include <QTreeWidgetItem>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

const char* const fileNames[] = {CatalogLoader::categoryFile, CatalogLoader::subCategoryFile,
                                 CatalogLoader::subSubCategoryFile, CatalogLoader::articleFile};

// Shows every article as a group row and, ordered at its first tier's quantity, as an order row.
void showRows(Catalog& catalog) {
    QString html, text;
    int count = 0;
    double net = 0.0, gross = 0.0;
    for (unsigned c = 0; c < catalog.size(); ++c) {
        auto& uppers = catalog[c].subCategories;
        for (unsigned s = 0; s < uppers.size(); ++s) {
            auto& groups = uppers[s].subSubCategories;
            for (unsigned ss = 0; ss < groups.size(); ++ss) {
                auto& articles = groups[ss].articles;
                for (unsigned a = 0; a < articles.size(); ++a) {
                    Article& article = articles[a];
                    QTreeWidgetItem row;
                    setArticleItemTexts(&row, article, {c, s, ss, a});
                    article.orderedUnits =
                        article.priceTiers.empty() ? article.status : article.priceTiers.back().quantity;
                    setOrderItemTexts(&row, article, {c, s, ss, a});
                }
            }
        }
        catalog[c].sumOrders(count, net, gross);
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
