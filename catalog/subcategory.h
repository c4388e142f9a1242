#pragma once

#include "catalog/subsubcategory.h"

// An upper group (file WGOBER) with its groups.
struct SubCategory {
    static constexpr int keyLength = 3;

    std::string key;
    std::string name;
    std::vector<SubSubCategory> subSubCategories;

    int read(std::istream& in);
    void parse(const unsigned char* record);

    void addSubSubCategory(const SubSubCategory& group) { subSubCategories.push_back(group); }
    // Into the first group whose key equals the article's group key; dropped without one.
    void addArticle(const Article& article);

    void showArticleInfo(unsigned ss, unsigned a, const ArticleViewer& view) const;
    void orderArticle(unsigned ss, unsigned a, const ArticleEditor& edit);
    void appendOrderListHtml(QString& out) const;
    void appendOrderListText(QString& out, const QString& separator, int unitsWidth, int nameWidth,
                             int netWidth, int grossWidth) const;
    void setOrderedUnits(unsigned ss, unsigned a, int units);
    void clearOrderedUnits();
};
