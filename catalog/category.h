#pragma once

#include "catalog/subcategory.h"

#include <memory>
#include <vector>

// A main group (file WGHAUPT) with its upper groups; the level the central widget addresses.
struct Category {
    static constexpr int keyLength = 1;

    std::string key;
    std::string name;
    std::vector<SubCategory> subCategories;

    int read(std::istream& in);
    void parse(const unsigned char* record);

    void addSubCategory(const SubCategory& group) { subCategories.push_back(group); }
    // Into the first upper group whose key equals the first three key bytes; dropped without one.
    void addSubSubCategory(const SubSubCategory& group);
    void addArticle(const Article& article);

    void showArticleInfo(unsigned s, unsigned ss, unsigned a, const ArticleViewer& view) const;
    void orderArticle(unsigned s, unsigned ss, unsigned a, const ArticleEditor& edit);
    void appendOrderListHtml(QString& out) const;
    void appendOrderListText(QString& out, const QString& separator, int unitsWidth, int nameWidth,
                             int netWidth, int grossWidth) const;
    void setOrderedUnits(unsigned s, unsigned ss, unsigned a, int units);
    void clearOrderedUnits();
};

class ArticleTexts;

// All main groups of the opened catalog, in the order of WGHAUPT.
class Catalog : public std::vector<Category> {
public:
    using std::vector<Category>::vector;

    void clear() {
        std::vector<Category>::clear();
        texts.reset();
    }

    // The texts every article views, in catalog order, shared by copies of the catalog. Null, or another
    // size than the catalog's article count, when the catalog was put together otherwise than by loading
    // it (see keepTextsOnce).
    std::shared_ptr<const ArticleTexts> texts;
};

// Visits every article of catalog in catalog order.
template <class AnyCatalog, class Visit> void forEachArticle(AnyCatalog& catalog, Visit visit) {
    for (auto& main : catalog)
        for (auto& upper : main.subCategories)
            for (auto& group : upper.subSubCategories)
                for (auto& article : group.articles)
                    visit(article);
}
