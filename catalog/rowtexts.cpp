#include "catalog/rowtexts.h"

#include "catalog/latin1.h"

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

QString articleColumnText(const Article& article, const IndexPath& path, RowKind kind, int column) {
    switch (column) {
    case ColumnName:
        return fromLatin1(article.name);
    case ColumnPackingUnit:
        return QString::number(article.priceTiers.empty() ? 0 : article.packingUnit);
    case ColumnQuantity:
        if (kind == RowKind::Order)
            return QString::number(article.orderedUnits);
        return QString::number(article.priceTiers.empty() ? 0 : article.priceTiers.front().quantity);
    case ColumnPrice: {
        if (kind == RowKind::Order) {
            double net = 0.0, gross = 0.0;
            article.orderPrice(net, gross);
            return QString::number(gross, 'f', 2);
        }
        int packing = 0, quantity = 0;
        double amount = 0.0;
        article.firstTierPrice(packing, quantity, amount);
        return amount == 0.0 ? QString() : QString::number(amount, 'f', 2);
    }
    case ColumnStatus:
        return statusLetter(article.status);
    case ColumnDescription:
        return fromLatin1(article.description);
    case ColumnOtherNames:
        return fromLatin1(article.otherNames);
    case ColumnCategory:
        return QString::number(path.c);
    case ColumnSubCategory:
        return QString::number(path.s);
    case ColumnSubSubCategory:
        return QString::number(path.ss);
    case ColumnArticle:
        return QString::number(path.a);
    default:
        return {};
    }
}
