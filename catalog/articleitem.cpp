#include "catalog/articleitem.h"

#include <QPixmap>
#include <QTreeWidget>

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
    void next() { texts.ends[std::size_t(column++)] = texts.packed.size(); }

    ArticleRow::Texts texts;
    int column = 0;
};

// The columns in order; quantity and price differ between group and order rows.
ArticleRow::Texts rowTexts(const Article& article, const IndexPath& path, int packing, long long quantity,
                           const QString& price) {
    TextsBuilder b(qsizetype(article.name.size() + article.description.size() + article.otherNames.size()) +
                   48);
    b.latin1(article.name);
    b.number(packing);
    b.number(quantity);
    b.text(price);
    b.text(statusLetter(article.status));
    b.latin1(article.description);
    b.latin1(article.otherNames);
    b.number(path.c);
    b.number(path.s);
    b.number(path.ss);
    b.number(path.a);
    return b.take();
}

// The list sorts what it is given with a stable sort and then, for every row that moved, looks up each of its
// cells among the persistent indexes; for hundreds of thousands of rows that lookup costs more than the sort.
// Rows that arrive in the order the list would give them move nowhere. The order is the list's own: stable,
// by the locale-aware comparison of the sort column's texts, reversed for a descending sort.
QList<QTreeWidgetItem*> presorted(const QList<QTreeWidgetItem*>& rows, int column, Qt::SortOrder order) {
    struct Key {
        QStringView text;
        QTreeWidgetItem* row;
    };
    std::vector<Key> keys;
    keys.reserve(std::size_t(rows.size()));
    for (QTreeWidgetItem* row : rows) {
        if (row->type() != ArticleRow::rowType)
            return rows;
        keys.push_back({static_cast<const ArticleRow*>(row)->textView(column), row});
    }
    if (order == Qt::AscendingOrder)
        std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
            return QString::localeAwareCompare(a.text, b.text) < 0;
        });
    else
        std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
            return QString::localeAwareCompare(b.text, a.text) < 0;
        });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(rows.size());
    for (const Key& key : keys)
        sorted.append(key.row);
    return sorted;
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
    int packing = 0, quantity = 0;
    double amount = 0.0;
    article.firstTierPrice(packing, quantity, amount);
    setRowTexts(row,
                rowTexts(article, path, packing, quantity,
                         amount == 0.0 ? QString() : QString::number(amount, 'f', 2)),
                article.orderedUnits > 0);
}

void setOrderItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path) {
    int packing = 0, quantity = 0;
    double amount = 0.0, net = 0.0, gross = 0.0;
    article.firstTierPrice(packing, quantity, amount);
    article.orderPrice(net, gross);
    setRowTexts(row, rowTexts(article, path, packing, article.orderedUnits, QString::number(gross, 'f', 2)),
                article.orderedUnits > 0);
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

// The same order as the plain item's: texts compared locale-aware in the list's sort column.
bool ArticleRow::operator<(const QTreeWidgetItem& other) const {
    if (other.type() != rowType)
        return QTreeWidgetItem::operator<(other);
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

void addArticleItems(QTreeWidget* list, const QList<QTreeWidgetItem*>& rows) {
    if (rows.isEmpty())
        return;
    const bool sorting = list->isSortingEnabled();
    list->setSortingEnabled(false);
    if (sorting)
        list->addTopLevelItems(presorted(rows, list->sortColumn(), list->header()->sortIndicatorOrder()));
    else
        list->addTopLevelItems(rows);
    list->setSortingEnabled(sorting);
}

QTreeWidgetItem* addOrderItem(QTreeWidget* list, const Article& article, const IndexPath& path) {
    QTreeWidgetItem* row = newOrderItem(article, path);
    list->addTopLevelItem(row);
    return row;
}
