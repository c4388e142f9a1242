#include "catalog/articleitem.h"

#include <QPixmap>
#include <QTreeWidget>

#include <QCollator>
#include <QHeaderView>

#include <algorithm>
#include <charconv>
#include <vector>

namespace {
// 16 x 16 check mark in shades of green, outlined dark.
const char* const orderedXpm[] = {
    "16 16 8 1",        "  c #000000",      ". c #004000",      "X c #400000",      "o c #008000",
    "O c #00c000",      "+ c #c0ffc0",      "@ c #ffffff",      "# c None",         "################",
    "###############+", "##############+O", "#############+Oo", "############+Oo.", "###########+Oo. ",
    "##+o######+Oo. #", "#+OOo####+Oo.X##", " .oOOo##+Oo. ###", "# .oOOo+Oo.X####", "##X.oOOOo.X#####",
    "### .oOo. ######", "#### .o. #######", "##### X ########", "################", "################"};

// Fully transparent: keeps the names of unordered rows aligned with the ordered ones.
const char* const unorderedXpm[] = {
    "16 16 3 1",        "  c #000000",      "@ c #ffffff",      "# c None",         "################",
    "################", "################", "################", "################", "################",
    "################", "################", "################", "################", "################",
    "################", "################", "################", "################", "################"};

// The shared icons of the two row states: one icon for all rows instead of one per row.
const QIcon& orderIcon(bool ordered) {
    static const QIcon orderedIcon(orderedPixmap());
    static const QIcon unorderedIcon(unorderedPixmap());
    return ordered ? orderedIcon : unorderedIcon;
}

// Builds the eleven texts of a row in one string, without a string per cell.
class TextsBuilder {
public:
    explicit TextsBuilder(qsizetype capacity) { texts.packed.reserve(capacity); }

    void latin1(const std::string& bytes) {
        texts.packed.append(QLatin1StringView(bytes.data(), qsizetype(bytes.size())));
        next();
    }
    void number(long long n) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, n);
        texts.packed.append(QLatin1StringView(digits, result.ptr - digits));
        next();
    }
    void text(const QString& s) {
        texts.packed.append(s);
        next();
    }
    ArticleRow::Texts take() { return std::move(texts); }

private:
    void next() { texts.ends[std::size_t(column++)] = std::uint32_t(texts.packed.size()); }

    ArticleRow::Texts texts;
    int column = 0;
};

// The columns in order; quantity and price differ between group and order rows.
ArticleRow::Texts rowTexts(const Article& article, const IndexPath& path, RowKind kind) {
    int packing = 0, quantity = 0;
    double amount = 0.0;
    article.firstTierPrice(packing, quantity, amount);
    TextsBuilder b(qsizetype(article.name.size() + article.description.size() + article.otherNames.size()) +
                   48);
    b.latin1(article.name);
    b.number(packing);
    if (kind == RowKind::Group) {
        b.number(quantity);
        b.text(amount == 0.0 ? QString() : QString::number(amount, 'f', 2));
    } else {
        double net = 0.0, gross = 0.0;
        article.orderPrice(net, gross);
        b.number(article.orderedUnits);
        b.text(QString::number(gross, 'f', 2));
    }
    b.text(statusLetter(article.status));
    b.latin1(article.description);
    b.latin1(article.otherNames);
    b.number(path.c);
    b.number(path.s);
    b.number(path.ss);
    b.number(path.a);
    return b.take();
}

// The texts of one column of every row, one after the other in one buffer, so that sorting them reads a
// few megabytes in a row instead of a separate string per row.
class SortKeys {
public:
    SortKeys(const std::vector<ArticleRow::Texts>& texts, int column) : spans(texts.size()) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QStringView cell = texts[i].at(column);
            spans[i] = {text.size(), std::size_t(cell.size())};
            text.insert(text.end(), cell.begin(), cell.end());
        }
    }

    QStringView at(std::size_t i) const {
        return QStringView(text.data() + spans[i].first, qsizetype(spans[i].second));
    }

private:
    std::vector<QChar> text;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
};

// Positions of the rows in the order the list sorts them: stable, by the locale-aware comparison of the
// sort column's texts, reversed for a descending sort.
std::vector<std::size_t> sortedOrder(const std::vector<ArticleRow::Texts>& texts, int column,
                                     Qt::SortOrder order) {
    std::vector<std::size_t> positions(texts.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    const SortKeys keys(texts, column);
    // localeAwareCompare looks up the collator of the default locale for every comparison; one looked up
    // here compares the same. Empty texts it orders by code points, as localeAwareCompare does.
    const QCollator collator;
    const auto less = [&keys, &collator](std::size_t a, std::size_t b) {
        const QStringView x = keys.at(a), y = keys.at(b);
        return (x.isEmpty() || y.isEmpty() ? x.compare(y) : collator.compare(x, y)) < 0;
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(positions.begin(), positions.end(), less);
    else
        std::stable_sort(positions.begin(), positions.end(),
                         [&less](std::size_t a, std::size_t b) { return less(b, a); });
    return positions;
}

void setRowTexts(QTreeWidgetItem* row, ArticleRow::Texts&& texts, bool ordered) {
    if (row->type() == ArticleRow::rowType) {
        static_cast<ArticleRow*>(row)->setTexts(std::move(texts), orderIcon(ordered));
        return;
    }
    row->setIcon(ColumnName, orderIcon(ordered));
    for (int c = 0; c < ArticleColumnCount; ++c)
        row->setText(c, texts.at(c).toString());
}

} // namespace

IndexPath indexPathOf(const QTreeWidgetItem* row) {
    IndexPath path;
    path.c = row->text(ColumnCategory).toUInt();
    path.s = row->text(ColumnSubCategory).toUInt();
    path.ss = row->text(ColumnSubSubCategory).toUInt();
    path.a = row->text(ColumnArticle).toUInt();
    return path;
}

const QPixmap& orderedPixmap() {
    static const QPixmap pixmap(orderedXpm);
    return pixmap;
}

const QPixmap& unorderedPixmap() {
    static const QPixmap pixmap(unorderedXpm);
    return pixmap;
}

QString statusLetter(int status) {
    switch (status) {
    case 1:
        return QStringLiteral(" ");
    case 2:
        return QStringLiteral("R");
    case 3:
        return QStringLiteral("B");
    case 4:
        return QStringLiteral("A");
    default:
        return QStringLiteral("?");
    }
}

void setArticleItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path) {
    setRowTexts(row, rowTexts(article, path, RowKind::Group), article.orderedUnits > 0);
}

void setOrderItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path) {
    setRowTexts(row, rowTexts(article, path, RowKind::Order), article.orderedUnits > 0);
}

QTreeWidgetItem* newArticleItem(const Article& article, const IndexPath& path) {
    auto* row = new ArticleRow;
    setArticleItemTexts(row, article, path);
    return row;
}

QTreeWidgetItem* newOrderItem(const Article& article, const IndexPath& path) {
    auto* row = new ArticleRow;
    setOrderItemTexts(row, article, path);
    return row;
}

QStringView ArticleRow::Texts::at(int column) const {
    if (column < 0 || column >= ArticleColumnCount)
        return {};
    const qsizetype begin = column == 0 ? 0 : ends[std::size_t(column - 1)];
    return QStringView(packed).mid(begin, ends[std::size_t(column)] - begin);
}

ArticleRow::ArticleRow() : QTreeWidgetItem(rowType) {}

QVariant ArticleRow::data(int column, int role) const {
    if (column >= 0 && column < ArticleColumnCount) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return texts.at(column).toString();
        if (role == Qt::DecorationRole && column == ColumnName)
            return decoration;
    }
    return QTreeWidgetItem::data(column, role);
}

void ArticleRow::setData(int column, int role, const QVariant& value) {
    if (column >= 0 && column < ArticleColumnCount) {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            const QString text = value.toString();
            if (texts.at(column) == text)
                return;
            TextsBuilder b(texts.packed.size() + text.size());
            for (int c = 0; c < ArticleColumnCount; ++c)
                b.text(c == column ? text : texts.at(c).toString());
            texts = b.take();
            changed();
            return;
        }
        if (role == Qt::DecorationRole && column == ColumnName) {
            if (decoration == value)
                return;
            decoration = value;
            changed();
            return;
        }
    }
    QTreeWidgetItem::setData(column, role, value);
}

const QTreeWidget* ArticleRow::rankedList = nullptr;

// The same order as the plain item's: texts compared locale-aware in the list's sort column.
bool ArticleRow::operator<(const QTreeWidgetItem& other) const {
    if (other.type() != rowType)
        return QTreeWidgetItem::operator<(other);
    if (rankedList && treeWidget() == rankedList)
        return rank < static_cast<const ArticleRow&>(other).rank;
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return QString::localeAwareCompare(textView(column),
                                       static_cast<const ArticleRow&>(other).textView(column)) < 0;
}

QTreeWidgetItem* ArticleRow::clone() const {
    auto* copy = new ArticleRow;
    *static_cast<QTreeWidgetItem*>(copy) = *this;
    copy->texts = texts;
    copy->decoration = decoration;
    return copy;
}

void ArticleRow::setTexts(Texts&& newTexts, const QIcon& icon) {
    texts = std::move(newTexts);
    decoration = icon;
    changed();
}

void ArticleRow::changed() {
    if (!treeWidget())
        return;
    // The list learns of a change for the columns the item reports; a row built here reports none until
    // it first changes inside a list.
    if (columnCount() < ArticleColumnCount)
        QTreeWidgetItem::setData(ArticleColumnCount - 1, Qt::UserRole, QVariant());
    emitDataChanged();
}

QTreeWidgetItem* addArticleItem(QTreeWidget* list, const Article& article, const IndexPath& path) {
    QTreeWidgetItem* row = newArticleItem(article, path);
    list->addTopLevelItem(row);
    return row;
}

void addArticleRows(QTreeWidget* list, const std::vector<FoundArticle>& found, RowKind kind) {
    if (found.empty())
        return;
    const bool sorting = list->isSortingEnabled();
    // The list sorts what it is given with a stable sort, and then looks up every cell of every row that
    // moved among its persistent indexes; for hundreds of thousands of rows that costs seconds. Rows made
    // in the order the list would give them move nowhere, and lie in memory in that order as well, which
    // keeps the list's own sort from waiting on memory.
    // Every article is read once, in catalog order: ordered articles lie far apart in a large catalog.
    std::vector<ArticleRow::Texts> texts;
    std::vector<bool> ordered;
    texts.reserve(found.size());
    ordered.reserve(found.size());
    for (const FoundArticle& f : found) {
        texts.push_back(rowTexts(*f.article, f.path, kind));
        ordered.push_back(f.article->orderedUnits > 0);
    }
    std::vector<std::size_t> order;
    const bool descending = list->header()->sortIndicatorOrder() == Qt::DescendingOrder;
    if (sorting) {
        order = sortedOrder(texts, list->sortColumn(), list->header()->sortIndicatorOrder());
    } else {
        order.resize(found.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(found.size()));
    for (std::size_t i : order) {
        auto* row = new ArticleRow;
        row->setTexts(std::move(texts[i]), orderIcon(ordered[i]));
        // The list compares with operator< either way, the other way round for a descending sort.
        row->rank = std::uint32_t(descending ? found.size() - 1 - std::size_t(rows.size())
                                             : std::size_t(rows.size()));
        rows.append(row);
    }
    // Ranks order only the rows of one batch; rows already in the list are compared by their texts.
    const bool alone = list->topLevelItemCount() == 0;
    list->setSortingEnabled(false);
    list->addTopLevelItems(rows);
    if (alone)
        ArticleRow::rankedList = list;
    list->setSortingEnabled(sorting);
    ArticleRow::rankedList = nullptr;
}

QTreeWidgetItem* addOrderItem(QTreeWidget* list, const Article& article, const IndexPath& path) {
    QTreeWidgetItem* row = newOrderItem(article, path);
    list->addTopLevelItem(row);
    return row;
}
