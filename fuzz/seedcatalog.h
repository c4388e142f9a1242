#pragma once

#include "fuzz/catalogoracle.h"

#include <cstddef>
#include <cstdint>

// The generated catalog whose upper levels the single-file targets load before the fuzzed file, so that
// the fuzzed records find parents. The seeds of those targets come from the same catalog.
constexpr std::size_t parentArticles = 300;
constexpr std::uint64_t parentSeed = 1;

CatalogFiles generatedCatalogFiles(std::size_t articles, std::uint64_t seed);
