#pragma once

#include "catalog/article.h"

#include <QString>

class QPixmap;
class QTreeWidget;
class QTreeWidgetItem;

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

// Index path of an article: positions of its main group, upper group, group and of itself.
struct IndexPath {
    unsigned c = 0;
    unsigned s = 0;
    unsigned ss = 0;
    unsigned a = 0;
};

// Reads the path back from the hidden columns of a row.
IndexPath indexPathOf(const QTreeWidgetItem* row);

// The check mark of ordered rows and the transparent space of unordered ones; built once, shared.
const QPixmap& orderedPixmap();
const QPixmap& unorderedPixmap();

// " " for stock items, R, B, A, "?" for unknown codes.
QString statusLetter(int status);

// Group rows (first tier's quantity and price) and order rows (ordered units and order value).
void setArticleItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path);
void setOrderItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path);
QTreeWidgetItem* newArticleItem(const Article& article, const IndexPath& path);
QTreeWidgetItem* newOrderItem(const Article& article, const IndexPath& path);
QTreeWidgetItem* addArticleItem(QTreeWidget* list, const Article& article, const IndexPath& path);
QTreeWidgetItem* addOrderItem(QTreeWidget* list, const Article& article, const IndexPath& path);
