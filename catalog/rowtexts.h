#pragma once

#include "catalog/indexpath.h"

#include <QString>

// " " for stock items, R, B, A, "?" for unknown codes.
QString statusLetter(int status);

// The text an article shows in one column of the article list: name, packing unit, the first tier's
// quantity and gross price (group rows) or the ordered units and their gross value (order rows), status
// letter, description, other names and the four numbers of its index path. Empty for other columns.
QString articleColumnText(const Article& article, const IndexPath& path, RowKind kind, int column);

// Whether a column's text depends on the article's order state (then it cannot be ranked once).
inline bool dependsOnOrders(RowKind kind, int column) {
    return kind == RowKind::Order && (column == ColumnQuantity || column == ColumnPrice);
}
