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
// no conversion per field. find() goes further where it can: it runs the expression over the buffer of all
// fields of a kind at once, after taking every line break out of what the pattern can match, so that no
// match and no attempt reaches beyond the field it starts in and each field costs what it costs alone.
// Patterns that could not be read that way with certainty run field by field; patterns beyond Latin-1 and
// back-references go through QRegularExpression itself.
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
