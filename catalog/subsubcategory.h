#pragma once

#include "catalog/article.h"
#include "catalog/indexpath.h"

#include <functional>
#include <istream>
#include <string>
#include <vector>

class QString;

// Shows a copy of an article (the info dialog).
using ArticleViewer = std::function<void(const Article&)>;
// Edits a copy of an article (the order dialog); true when the copy is to replace the article.
using ArticleEditor = std::function<bool(Article&)>;

// A group (file WGGRUPPE), the level that holds the articles and acts on them.
struct SubSubCategory {
    static constexpr int keyLength = 5;

    std::string key;
    std::string name;
    std::vector<Article> articles;

    int read(std::istream& in);
    void parse(const unsigned char* record);

    void addArticle(const Article& article) { articles.push_back(article); }

    void showArticleInfo(unsigned a, const ArticleViewer& view) const;
    void orderArticle(unsigned a, const ArticleEditor& edit);
    void appendOrderListHtml(QString& out) const;
    void appendOrderListText(QString& out, const QString& separator, int unitsWidth, int nameWidth,
                             int netWidth, int grossWidth) const;
    void setOrderedUnits(unsigned a, int units);
    void clearOrderedUnits();
};
