#pragma once

#include "catalog/articleindex.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

// The rows of the article list: the numbers of the listed articles (see ArticleIndex), nothing else. The
// eleven texts and the order mark of a row are made when the view asks for them, that is for the rows on
// screen, so that listing a million articles costs a million numbers. Sorting ranks the rows' texts
// (rankTexts) and sorts the numbers by rank; the order is the one a stable sort of the texts would give.
class ArticleListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ArticleListModel(QObject* parent = nullptr);

    // The catalog whose articles the rows name; null or a new one drops rows and keys.
    void setIndex(const ArticleIndex* index);
    // Column titles, in column order.
    void setTitles(const QStringList& titles);

    // Lists these articles, given in catalog order, in the current sort order.
    void setRows(std::vector<std::uint32_t> numbers, RowKind kind);
    // The articles of group (c, s, ss); no rows when there is no such group.
    void showGroup(unsigned c, unsigned s, unsigned ss);
    void clear();

    int sortColumn() const { return sortedBy; }
    IndexPath pathAt(int row) const;
    // The row of the article at path, or -1.
    int rowOf(const IndexPath& path) const;
    // The row's article has changed: the view asks for its texts and mark again.
    void refreshRow(int row);
    void refreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // Orders numbers by the sort column, keeping the order of rows that compare equal; returns the old
    // position of each row, top to bottom.
    std::vector<std::uint32_t> sortRows(std::vector<std::uint32_t>& numbers);

    const ArticleIndex* articles = nullptr;
    std::vector<std::uint32_t> rows;
    RowKind rowKind = RowKind::Group;
    QStringList titles;
    int sortedBy = -1;
    Qt::SortOrder order = Qt::AscendingOrder;
    // Per column, the ranks of all articles of the catalog by their group rows' texts; empty until a sort
    // by that column needs them.
    std::array<std::vector<std::uint32_t>, ArticleColumnCount> catalogRanks;
};
