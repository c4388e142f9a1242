#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

// Synthetic catalogs that look like the real thing: a few main groups of electronics parts, upper groups
// and groups below them, and articles with German names, values, descriptions, alternative names and
// price scales, texts in Latin-1. The same size and seed always give the same bytes.
//
// The number of groups grows with the square root of the article count: a few hundred articles make half
// a dozen main groups and about a hundred groups, a million articles sixteen main groups, about 500 upper
// groups and 4000 groups.

struct GeneratedCatalogSize {
    std::size_t mainGroups = 0;
    std::size_t upperGroups = 0;
    std::size_t groups = 0;
    std::size_t articles = 0;
};

// Writes the records of WGHAUPT, WGOBER, WGGRUPPE and ART to the four streams.
GeneratedCatalogSize generateCatalog(std::ostream& mainGroups, std::ostream& upperGroups,
                                     std::ostream& groups, std::ostream& articles, std::size_t articleCount,
                                     std::uint64_t seed);

// Writes the four files into directory, creating it when needed. False with a reason in error when a
// file cannot be written.
bool generateCatalog(const std::string& directory, std::size_t articleCount, std::uint64_t seed,
                     GeneratedCatalogSize* size = nullptr, std::string* error = nullptr);
