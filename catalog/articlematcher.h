#pragma once

#include "catalog/article.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class ArticleTexts;

// Decides which articles match a search: the pattern is a regular expression tried on the name, the
// description and the alternative names, as far as each is enabled, with the meaning QRegularExpression
// gives it (Unicode properties, case ignored unless the search is case-sensitive). An invalid pattern finds
// nothing.
//
// The texts are Latin-1, so a pattern that is Latin-1 too runs as a byte expression on them directly, with
// no conversion per field. find() goes further: it runs the expression over the buffer of all fields of a
// kind at once, where the '\n' between fields acts as the start and end of a line, and tries a field alone
// only where a match found there reaches beyond it. A top-level alternation runs there as one expression per
// alternative, each of which can seek its first byte far faster than the whole. Patterns that could behave
// differently over the joined buffer (lookarounds, inline options, verbs, atomic and possessive parts,
// absolute anchors) run field by field; patterns beyond Latin-1 go through QRegularExpression itself.
class ArticleMatcher {
public:
    ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames,
                   bool caseSensitive);
    ~ArticleMatcher();
    ArticleMatcher(ArticleMatcher&& other) noexcept;
    ArticleMatcher& operator=(ArticleMatcher&& other) noexcept;
    ArticleMatcher(const ArticleMatcher&) = delete;
    ArticleMatcher& operator=(const ArticleMatcher&) = delete;

    bool matches(const Article& article) const;
    // Appends the numbers of the articles in [first, end) that match, ascending, each once.
    void find(const ArticleTexts& texts, std::uint32_t first, std::uint32_t end,
              std::vector<std::uint32_t>& found) const;

private:
    struct Engine;
    std::unique_ptr<Engine> engine;
};
