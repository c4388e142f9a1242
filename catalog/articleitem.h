#pragma once

#include "catalog/indexpath.h"

#include <QString>
#include <QTreeWidgetItem>

#include <QIcon>
#include <QVariant>

#include <array>
#include <cstdint>
#include <vector>

class QPixmap;
class QTreeWidget;

// Reads the path back from the hidden columns of a row.
IndexPath indexPathOf(const QTreeWidgetItem* row);

// The check mark of ordered rows and the transparent space of unordered ones; built once, shared.
const QPixmap& orderedPixmap();
const QPixmap& unorderedPixmap();

// " " for stock items, R, B, A, "?" for unknown codes.
QString statusLetter(int status);

// A row of the article list as the catalog builds it. It answers text(), setText(), icon() and sorting
// exactly as a plain QTreeWidgetItem with the same eleven texts and icon would, but keeps the texts in one
// string and shares the icon, instead of one QVariant, string and icon per cell: lists of a million rows are
// built, sorted and freed several times faster that way.
class ArticleRow : public QTreeWidgetItem {
public:
    static constexpr int rowType = QTreeWidgetItem::UserType + 1;

    ArticleRow();

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    bool operator<(const QTreeWidgetItem& other) const override;
    QTreeWidgetItem* clone() const override;

    // The eleven texts one after the other, and where each ends.
    struct Texts {
        QString packed;
        std::array<std::uint32_t, ArticleColumnCount> ends{};
        QStringView at(int column) const;
    };

    // The text of a column without a copy; empty for columns beyond the eleven.
    QStringView textView(int column) const {
        return column < ArticleColumnCount ? texts.at(column) : QStringView();
    }
    // Replaces all eleven texts and the icon, telling the list once.
    void setTexts(Texts&& newTexts, const QIcon& icon);

private:
    friend void addArticleRows(QTreeWidget* list, const std::vector<FoundArticle>& found, RowKind kind);

    void changed();

    Texts texts;
    QVariant decoration;
    // While the rows of rankedList are sorted right after they were inserted into it, all at once, in
    // sorted order, they compare by their position among them: the sort then finds them in order without
    // comparing a single text.
    static const QTreeWidget* rankedList;
    std::uint32_t rank = 0;
};

// Group rows (first tier's quantity and price) and order rows (ordered units and order value).
void setArticleItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path);
void setOrderItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path);
QTreeWidgetItem* newArticleItem(const Article& article, const IndexPath& path);
QTreeWidgetItem* newOrderItem(const Article& article, const IndexPath& path);
QTreeWidgetItem* addArticleItem(QTreeWidget* list, const Article& article, const IndexPath& path);

// Makes the rows of the found articles and inserts them all at once: the list sorts and lays itself out
// once instead of after each row.
void addArticleRows(QTreeWidget* list, const std::vector<FoundArticle>& found, RowKind kind);
QTreeWidgetItem* addOrderItem(QTreeWidget* list, const Article& article, const IndexPath& path);
