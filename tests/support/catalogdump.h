#pragma once

#include "catalog/category.h"

#include <QByteArray>

namespace vxtest {

// Readable text of records and whole catalogs, one line per record, bytes outside printable ASCII as
// \xNN. Comparing dumps shows where two catalogs part.
QByteArray dumpArticle(const Article& article);
QByteArray dumpCatalog(const Catalog& catalog);

} // namespace vxtest
