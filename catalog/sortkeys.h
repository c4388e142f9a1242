#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QCollator;

// The order of the article list: texts compared by the default locale's collation, an empty text by code
// points (before any other).
bool textLess(const QCollator& collator, QStringView a, QStringView b);

// That order as numbers: text(0) ... text(count - 1) ranked by textLess. Texts that compare equal share a
// rank and the ranks are dense, so a stable sort by rank is a stable sort by text, and no rank reaches count.
std::vector<std::uint32_t> rankTexts(std::uint32_t count, const std::function<QString(std::uint32_t)>& text);
