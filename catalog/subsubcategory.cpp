#include "catalog/subsubcategory.h"

#include "catalog/grouprecord.h"
#include "catalog/orderlist.h"

int SubSubCategory::read(std::istream& in) {
    articles.clear();
    grouprecord::read(in, keyLength, key, name);
    return 0;
}

void SubSubCategory::parse(const unsigned char* record) {
    articles.clear();
    grouprecord::parse(record, keyLength, key, name);
}

void SubSubCategory::showArticleInfo(unsigned a, const ArticleViewer& view) const {
    if (a < articles.size())
        view(Article(articles[a]));
}

void SubSubCategory::orderArticle(unsigned a, const ArticleEditor& edit) {
    if (a >= articles.size())
        return;
    Article copy = articles[a];
    if (edit(copy))
        articles[a] = copy;
}

void SubSubCategory::appendOrderListHtml(QString& out) const {
    for (const Article& article : articles)
        if (article.orderedUnits > 0)
            appendOrderRowHtml(out, article);
}

void SubSubCategory::appendOrderListText(QString& out, const QString& separator, int unitsWidth,
                                         int nameWidth, int netWidth, int grossWidth) const {
    for (const Article& article : articles)
        if (article.orderedUnits > 0)
            appendOrderRowText(out, article, separator, unitsWidth, nameWidth, netWidth, grossWidth);
}

void SubSubCategory::setOrderedUnits(unsigned a, int units) {
    if (a < articles.size())
        articles[a].orderedUnits = units;
}

void SubSubCategory::clearOrderedUnits() {
    for (Article& article : articles)
        article.orderedUnits = 0;
}
