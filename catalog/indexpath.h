#pragma once

#include "catalog/article.h"

// Columns of the article list. The last four carry the row's index path and are hidden.
enum ArticleColumn {
    ColumnName = 0,
    ColumnPackingUnit,
    ColumnQuantity,
    ColumnPrice,
    ColumnStatus,
    ColumnDescription,
    ColumnOtherNames,
    ColumnCategory,
    ColumnSubCategory,
    ColumnSubSubCategory,
    ColumnArticle,
    ArticleColumnCount
};

// Index path of an article: positions of its main group, upper group, group and of itself. Rows and the
// order index keep these instead of pointers, so that nothing dangles when a catalog is replaced.
struct IndexPath {
    unsigned c = 0;
    unsigned s = 0;
    unsigned ss = 0;
    unsigned a = 0;
};

// An article a walk has found, on its way to becoming a row. Lives only while its catalog is unchanged.
struct FoundArticle {
    const Article* article;
    IndexPath path;
};

// Group rows (first tier's quantity and price) or order rows (ordered units and order value).
enum class RowKind { Group, Order };
