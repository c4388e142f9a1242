#pragma once

#include "catalog/category.h"

#include <QByteArray>

#include <vector>

namespace vxtest {

// One line per record, fields of an article between '|', bytes outside printable ASCII as \xNN.
QByteArray dumpCatalog(const Catalog& catalog);
// Every ordered article with its path, and their count and totals, by a walk over the whole catalog: what the
// program's order index must agree with.
void walkOrders(const Catalog& catalog, std::vector<FoundArticle>& found, int& count, double& net,
                double& gross);

} // namespace vxtest
