#pragma once

#include "catalog/category.h"

#include <array>
#include <string>

// What the fuzz targets compare the fast loader with: the record-by-record reading through read() and the
// placement through the records' own add functions, walking the parents from the front.

enum CatalogLevel { MainGroups, UpperGroups, Groups, Articles };

using CatalogFiles = std::array<std::string, 4>;

// Reads the bytes of one file record by record and places the records into catalog.
void plainLoad(Catalog& catalog, CatalogLevel level, const std::string& bytes);
// The same through CatalogLoader from a stream; false when the loader did not reach the end of the stream.
bool fastLoad(Catalog& catalog, CatalogLevel level, const std::string& bytes);

// Stops the process (the fuzzer then keeps the input) when the two catalogs differ in any field.
void requireEqual(const Catalog& a, const Catalog& b, const char* what);
void require(bool condition, const char* what);

// The four files of a catalog from one input: the pieces between the first three occurrences of
// fileSeparator. Files past the last separator are missing (false in present).
extern const char fileSeparator[];
void splitCatalogInput(const std::string& input, CatalogFiles& files, std::array<bool, 4>& present);
std::string joinCatalogInput(const CatalogFiles& files);
