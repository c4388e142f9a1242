#pragma once

#include "catalog/category.h"

#include <QByteArray>

namespace vxtest {

// Readable text of a catalog, one line per record, bytes outside printable ASCII as \xNN, the fields of an
// article separated by '|'. Comparing dumps shows where two catalogs part.
QByteArray dumpCatalog(const Catalog& catalog);

} // namespace vxtest
