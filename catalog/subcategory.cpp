#include "catalog/subcategory.h"

#include "catalog/grouprecord.h"

int SubCategory::read(std::istream& in) {
    subSubCategories.clear();
    grouprecord::read(in, keyLength, key, name);
    return 0;
}

void SubCategory::parse(const unsigned char* record) {
    subSubCategories.clear();
    grouprecord::parse(record, keyLength, key, name);
}

void SubCategory::addArticle(const Article& article) {
    for (SubSubCategory& group : subSubCategories) {
        if (group.key == article.groupKey) {
            group.addArticle(article);
            return;
        }
    }
}

void SubCategory::showArticleInfo(unsigned ss, unsigned a, const ArticleViewer& view) const {
    if (ss < subSubCategories.size())
        subSubCategories[ss].showArticleInfo(a, view);
}

void SubCategory::orderArticle(unsigned ss, unsigned a, const ArticleEditor& edit) {
    if (ss < subSubCategories.size())
        subSubCategories[ss].orderArticle(a, edit);
}

void SubCategory::appendOrderListHtml(QString& out) const {
    for (const SubSubCategory& group : subSubCategories)
        group.appendOrderListHtml(out);
}

void SubCategory::appendOrderListText(QString& out, const QString& separator, int unitsWidth, int nameWidth,
                                      int netWidth, int grossWidth) const {
    for (const SubSubCategory& group : subSubCategories)
        group.appendOrderListText(out, separator, unitsWidth, nameWidth, netWidth, grossWidth);
}

void SubCategory::setOrderedUnits(unsigned ss, unsigned a, int units) {
    if (ss < subSubCategories.size())
        subSubCategories[ss].setOrderedUnits(a, units);
}

void SubCategory::clearOrderedUnits() {
    for (SubSubCategory& group : subSubCategories)
        group.clearOrderedUnits();
}
