#pragma once

#include "catalog/category.h"

#include <QByteArray>

namespace vxtest {

// One line per record, fields of an article between '|', bytes outside printable ASCII as \xNN.
QByteArray dumpCatalog(const Catalog& catalog);

} // namespace vxtest
