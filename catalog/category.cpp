#include "catalog/category.h"

#include "catalog/grouprecord.h"

int Category::read(std::istream& in) {
    subCategories.clear();
    grouprecord::read(in, keyLength, key, name);
    return 0;
}

void Category::parse(const unsigned char* record) {
    subCategories.clear();
    grouprecord::parse(record, keyLength, key, name);
}

void Category::addSubSubCategory(const SubSubCategory& group) {
    const std::string prefix = group.key.substr(0, SubCategory::keyLength);
    for (SubCategory& upper : subCategories) {
        if (upper.key == prefix) {
            upper.addSubSubCategory(group);
            return;
        }
    }
}

void Category::addArticle(const Article& article) {
    const std::string prefix = article.groupKey.substr(0, SubCategory::keyLength);
    for (SubCategory& upper : subCategories) {
        if (upper.key == prefix) {
            upper.addArticle(article);
            return;
        }
    }
}

void Category::showArticleInfo(unsigned s, unsigned ss, unsigned a, const ArticleViewer& view) const {
    if (s < subCategories.size())
        subCategories[s].showArticleInfo(ss, a, view);
}

void Category::orderArticle(unsigned s, unsigned ss, unsigned a, const ArticleEditor& edit) {
    if (s < subCategories.size())
        subCategories[s].orderArticle(ss, a, edit);
}

void Category::appendOrderListHtml(QString& out) const {
    for (const SubCategory& upper : subCategories)
        upper.appendOrderListHtml(out);
}

void Category::appendOrderListText(QString& out, const QString& separator, int unitsWidth, int nameWidth,
                                   int netWidth, int grossWidth) const {
    for (const SubCategory& upper : subCategories)
        upper.appendOrderListText(out, separator, unitsWidth, nameWidth, netWidth, grossWidth);
}

void Category::setOrderedUnits(unsigned s, unsigned ss, unsigned a, int units) {
    if (s < subCategories.size())
        subCategories[s].setOrderedUnits(ss, a, units);
}

void Category::clearOrderedUnits() {
    for (SubCategory& upper : subCategories)
        upper.clearOrderedUnits();
}
