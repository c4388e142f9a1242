#include "catalogview/articlelistmodel.h"

#include "catalog/rowtexts.h"
#include "catalog/sortkeys.h"
#include "catalog/vectorstate.h"
#include "catalogview/articleitem.h"

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
    for (std::vector<std::uint32_t>& ranks : catalogRanks)
        std::vector<std::uint32_t>().swap(ranks);
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
    const std::vector<std::uint32_t> from = sortRows(rows);
    std::vector<int> to(from.size());
    for (std::size_t row = 0; row < from.size(); ++row)
        to[from[row]] = int(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(to[std::size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<std::uint32_t> ArticleListModel::sortRows(std::vector<std::uint32_t>& numbers) {
    clearUpperVectorState();
    // Equal keys keep the order as it is.
    std::vector<std::uint32_t> keys(numbers.size());
    if (sortedBy >= 0 && sortedBy < ArticleColumnCount && numbers.size() > 1) {
        const auto text = [this](std::uint32_t number, RowKind kind) {
            const IndexPath path = sortedBy >= ColumnCategory ? articles->path(number) : IndexPath();
            return articleColumnText(articles->article(number), path, kind, sortedBy);
        };
        // Many rows are ranked among the whole catalog, once per column. A few rows (a group, the order list)
        // are ranked among themselves, so that showing a group does not rank the catalog; so are ordered
        // units and order values, which change with every order.
        std::vector<std::uint32_t>& ranks = catalogRanks[std::size_t(sortedBy)];
        if (!dependsOnOrders(rowKind, sortedBy) &&
            (!ranks.empty() || numbers.size() > articles->size() / 16)) {
            if (ranks.empty())
                ranks = rankTexts(articles->size(), [&](std::uint32_t n) { return text(n, RowKind::Group); });
            for (std::size_t i = 0; i < numbers.size(); ++i)
                keys[i] = ranks[numbers[i]];
        } else {
            keys = rankTexts(std::uint32_t(numbers.size()),
                             [&](std::uint32_t i) { return text(numbers[i], rowKind); });
        }
    }
    // One stable counting sort: the keys are dense ranks, fewer than the articles.
    const std::uint32_t top = numbers.empty() ? 0 : *std::max_element(keys.begin(), keys.end());
    const auto slot = [&](std::uint32_t key) { return order == Qt::AscendingOrder ? key : top - key; };
    std::vector<std::uint32_t> start(std::size_t(top) + 2), from(numbers.size()), sorted(numbers.size());
    for (std::uint32_t key : keys)
        ++start[slot(key) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    for (std::uint32_t i = 0; i < numbers.size(); ++i)
        from[start[slot(keys[i])]++] = i;
    for (std::size_t row = 0; row < from.size(); ++row)
        sorted[row] = numbers[from[row]];
    numbers.swap(sorted);
    return from;
}
