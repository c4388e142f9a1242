#include "catalogview/articlelistmodel.h"

#include "catalog/rowtexts.h"
#include "catalogview/articleitem.h"

#include <QCollator>
#include <QIcon>

#include <algorithm>
#include <numeric>

namespace {
QVariant alignment(int column) {
    switch (column) {
    case ColumnPackingUnit:
    case ColumnQuantity:
    case ColumnPrice:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case ColumnStatus:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}
} // namespace

ArticleListModel::ArticleListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ArticleListModel::setIndex(const ArticleIndex* index) {
    beginResetModel();
    articles = index;
    std::vector<std::uint32_t>().swap(rows);
    keys.clear();
    endResetModel();
}

void ArticleListModel::setTitles(const QStringList& newTitles) {
    titles = newTitles;
    emit headerDataChanged(Qt::Horizontal, 0, ArticleColumnCount - 1);
}

void ArticleListModel::setRows(std::vector<std::uint32_t> numbers, RowKind kind) {
    beginResetModel();
    rowKind = kind;
    if (!articles)
        numbers.clear();
    sortRows(numbers);
    rows = std::move(numbers);
    endResetModel();
}

void ArticleListModel::showGroup(unsigned c, unsigned s, unsigned ss) {
    std::vector<std::uint32_t> numbers;
    if (articles) {
        const ArticleIndex::Range range = articles->group(c, s, ss);
        numbers.resize(range.end - range.first);
        std::iota(numbers.begin(), numbers.end(), range.first);
    }
    setRows(std::move(numbers), RowKind::Group);
}

void ArticleListModel::clear() {
    if (rows.empty())
        return;
    beginResetModel();
    // Swapped out, so that the rows of a large search are handed back.
    std::vector<std::uint32_t>().swap(rows);
    endResetModel();
}

IndexPath ArticleListModel::pathAt(int row) const {
    return articles->path(rows[std::size_t(row)]);
}

int ArticleListModel::rowOf(const IndexPath& path) const {
    if (!articles)
        return -1;
    const std::uint32_t number = articles->number(path);
    const auto found = std::find(rows.begin(), rows.end(), number);
    return number == ArticleIndex::none || found == rows.end() ? -1 : int(found - rows.begin());
}

void ArticleListModel::refreshRow(int row) {
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, ArticleColumnCount - 1));
}

void ArticleListModel::refreshAll() {
    if (!rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ArticleColumnCount - 1));
}

int ArticleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

int ArticleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ArticleColumnCount;
}

QVariant ArticleListModel::data(const QModelIndex& index, int role) const {
    if (!articles || !index.isValid() || index.row() >= rowCount() || index.column() >= ArticleColumnCount)
        return {};
    const std::uint32_t number = rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole: {
        const IndexPath path = index.column() >= ColumnCategory ? articles->path(number) : IndexPath();
        return articleColumnText(articles->article(number), path, rowKind, index.column());
    }
    case Qt::DecorationRole:
        if (index.column() == ColumnName)
            return orderIcon(articles->article(number).orderedUnits > 0);
        return {};
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    default:
        return {};
    }
}

QVariant ArticleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ArticleColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return section < titles.size() ? titles[section] : QString();
    if (role == Qt::TextAlignmentRole)
        return alignment(section);
    return {};
}

void ArticleListModel::sort(int column, Qt::SortOrder newOrder) {
    sortedBy = column;
    order = newOrder;
    if (rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection and the current row follow their articles.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> numbersBefore;
    numbersBefore.reserve(std::size_t(before.size()));
    for (const QModelIndex& i : before)
        numbersBefore.push_back(rows[std::size_t(i.row())]);
    sortRows(rows);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype k = 0; k < before.size(); ++k) {
        const auto found = std::find(rows.begin(), rows.end(), numbersBefore[std::size_t(k)]);
        after.append(index(int(found - rows.begin()), before[k].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ArticleListModel::sortRows(std::vector<std::uint32_t>& numbers) {
    if (sortedBy < 0 || sortedBy >= ArticleColumnCount || numbers.size() < 2 || !articles)
        return;
    // A few rows (a group, the order list) are sorted by their texts at once rather than ranking the whole
    // catalog first; ordered units and order values change with every order and are always compared as
    // texts, as few as there are.
    const bool few = numbers.size() <= articles->size() / 16;
    if (!dependsOnOrders(rowKind, sortedBy) && (keys.has(sortedBy) || !few)) {
        sortByKeys(numbers, keys.keys(*articles, sortedBy), order == Qt::DescendingOrder);
        return;
    }
    std::vector<std::uint32_t> positions(numbers.size());
    std::vector<QString> shown(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        positions[i] = std::uint32_t(i);
        const IndexPath path = sortedBy >= ColumnCategory ? articles->path(numbers[i]) : IndexPath();
        shown[i] = articleColumnText(articles->article(numbers[i]), path, rowKind, sortedBy);
    }
    const QCollator collator;
    if (order == Qt::AscendingOrder)
        std::stable_sort(positions.begin(), positions.end(), [&](std::uint32_t a, std::uint32_t b) {
            return textLess(collator, shown[a], shown[b]);
        });
    else
        std::stable_sort(positions.begin(), positions.end(), [&](std::uint32_t a, std::uint32_t b) {
            return textLess(collator, shown[b], shown[a]);
        });
    std::vector<std::uint32_t> sorted(numbers.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        sorted[i] = numbers[positions[i]];
    numbers.swap(sorted);
}
