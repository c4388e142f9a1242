#include "catalog/articleitem.h"

#include <QPixmap>
#include <QTreeWidget>

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

QString number(unsigned n) { return QString::number(n); }

void setCommonTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path, int packing) {
    row->setIcon(ColumnName, article.orderedUnits > 0 ? orderedPixmap() : unorderedPixmap());
    row->setText(ColumnName, QString::fromLatin1(article.name.data(), qsizetype(article.name.size())));
    row->setText(ColumnPackingUnit, QString::number(packing));
    row->setText(ColumnStatus, statusLetter(article.status));
    row->setText(ColumnDescription,
                 QString::fromLatin1(article.description.data(), qsizetype(article.description.size())));
    row->setText(ColumnOtherNames,
                 QString::fromLatin1(article.otherNames.data(), qsizetype(article.otherNames.size())));
    row->setText(ColumnCategory, number(path.c));
    row->setText(ColumnSubCategory, number(path.s));
    row->setText(ColumnSubSubCategory, number(path.ss));
    row->setText(ColumnArticle, number(path.a));
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
    setCommonTexts(row, article, path, packing);
    row->setText(ColumnQuantity, QString::number(quantity));
    row->setText(ColumnPrice, amount == 0.0 ? QString() : QString::number(amount, 'f', 2));
}

void setOrderItemTexts(QTreeWidgetItem* row, const Article& article, const IndexPath& path) {
    int packing = 0, quantity = 0;
    double amount = 0.0, net = 0.0, gross = 0.0;
    article.firstTierPrice(packing, quantity, amount);
    article.orderPrice(net, gross);
    setCommonTexts(row, article, path, packing);
    row->setText(ColumnQuantity, QString::number(article.orderedUnits));
    row->setText(ColumnPrice, QString::number(gross, 'f', 2));
}

QTreeWidgetItem* newArticleItem(const Article& article, const IndexPath& path) {
    auto* row = new QTreeWidgetItem;
    setArticleItemTexts(row, article, path);
    return row;
}

QTreeWidgetItem* newOrderItem(const Article& article, const IndexPath& path) {
    auto* row = new QTreeWidgetItem;
    setOrderItemTexts(row, article, path);
    return row;
}

QTreeWidgetItem* addArticleItem(QTreeWidget* list, const Article& article, const IndexPath& path) {
    QTreeWidgetItem* row = newArticleItem(article, path);
    list->addTopLevelItem(row);
    return row;
}

QTreeWidgetItem* addOrderItem(QTreeWidget* list, const Article& article, const IndexPath& path) {
    QTreeWidgetItem* row = newOrderItem(article, path);
    list->addTopLevelItem(row);
    return row;
}
