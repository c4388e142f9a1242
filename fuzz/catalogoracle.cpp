#include "fuzz/catalogoracle.h"

#include "catalog/articletexts.h"
#include "catalog/catalogloader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

const char fileSeparator[] = "|VX|";

namespace {

Category* firstCategory(Catalog& catalog, const std::string& key) {
    for (Category& main : catalog)
        if (main.key == key.substr(0, Category::keyLength))
            return &main;
    return nullptr;
}

template <class Record, class Place, class... Store>
void readEach(const std::string& bytes, Place place, Store&... store) {
    std::istringstream in(bytes);
    // The record must not keep anything from the one before; a fresh one each time would hide that.
    Record record;
    for (;;) {
        record.read(in, store...);
        if (!in)
            break;
        place(record);
    }
}

bool sameArticle(const Article& a, const Article& b) {
    if (a.groupKey != b.groupKey || a.name != b.name || a.description != b.description ||
        a.otherNames != b.otherNames || a.status != b.status || a.priceUnit != b.priceUnit ||
        a.vatClass != b.vatClass || a.packingUnit != b.packingUnit || a.orderedUnits != b.orderedUnits ||
        a.priceTiers.size() != b.priceTiers.size())
        return false;
    for (std::size_t i = 0; i < a.priceTiers.size(); ++i)
        if (a.priceTiers[i].quantity != b.priceTiers[i].quantity ||
            a.priceTiers[i].price != b.priceTiers[i].price)
            return false;
    return true;
}

template <class T, class Same> bool sameList(const std::vector<T>& a, const std::vector<T>& b, Same same) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i]))
            return false;
    return true;
}

bool sameGroup(const SubSubCategory& a, const SubSubCategory& b) {
    return a.key == b.key && a.name == b.name && sameList(a.articles, b.articles, sameArticle);
}

bool sameUpper(const SubCategory& a, const SubCategory& b) {
    return a.key == b.key && a.name == b.name && sameList(a.subSubCategories, b.subSubCategories, sameGroup);
}

bool sameMain(const Category& a, const Category& b) {
    return a.key == b.key && a.name == b.name && sameList(a.subCategories, b.subCategories, sameUpper);
}

} // namespace

void plainLoad(Catalog& catalog, CatalogLevel level, const std::string& bytes) {
    switch (level) {
    case MainGroups:
        readEach<Category>(bytes, [&](const Category& main) { catalog.push_back(main); });
        break;
    case UpperGroups:
        readEach<SubCategory>(bytes, [&](const SubCategory& upper) {
            if (Category* main = firstCategory(catalog, upper.key))
                main->addSubCategory(upper);
        });
        break;
    case Groups:
        readEach<SubSubCategory>(bytes, [&](const SubSubCategory& group) {
            if (Category* main = firstCategory(catalog, group.key))
                main->addSubSubCategory(group);
        });
        break;
    case Articles: {
        // Room for every record the bytes can hold, so that the texts stay where the articles view them
        // until they go into the catalog's store.
        ArticleTexts texts;
        const std::size_t records = bytes.size() / Article::fixedSize + 1;
        texts.reserve(records,
                      {records * (Article::longestName + 1), records * (Article::longestDescription + 1),
                       records * (Article::longestOtherNames + 1)});
        readEach<Article>(
            bytes,
            [&](const Article& article) {
                if (Category* main = firstCategory(catalog, article.groupKey))
                    main->addArticle(article);
            },
            texts);
        keepTextsOnce(catalog);
        break;
    }
    }
}

bool fastLoad(Catalog& catalog, CatalogLevel level, const std::string& bytes) {
    CatalogLoader loader(catalog);
    std::istringstream in(bytes);
    CatalogLoader::Status status = CatalogLoader::Status::OpenFailed;
    switch (level) {
    case MainGroups:
        status = loader.loadCategories(in);
        break;
    case UpperGroups:
        status = loader.loadSubCategories(in);
        break;
    case Groups:
        status = loader.loadSubSubCategories(in);
        break;
    case Articles:
        status = loader.loadArticles(in);
        break;
    }
    return status == CatalogLoader::Status::Complete;
}

void require(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

void requireEqual(const Catalog& a, const Catalog& b, const char* what) {
    require(sameList(a, b, sameMain), what);
}

void splitCatalogInput(const std::string& input, CatalogFiles& files, std::array<bool, 4>& present) {
    const std::size_t separatorLength = std::strlen(fileSeparator);
    std::size_t start = 0;
    for (std::size_t f = 0; f < 4; ++f) {
        files[f].clear();
        present[f] = start <= input.size();
        if (!present[f])
            continue;
        const std::size_t end = f < 3 ? input.find(fileSeparator, start) : std::string::npos;
        files[f] = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? input.size() + 1 : end + separatorLength;
    }
}

std::string joinCatalogInput(const CatalogFiles& files) {
    return files[0] + fileSeparator + files[1] + fileSeparator + files[2] + fileSeparator + files[3];
}
