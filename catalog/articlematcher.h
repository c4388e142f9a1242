#pragma once

#include "catalog/article.h"

#include <QRegularExpression>
#include <QString>

// Decides whether an article matches a search: the pattern is a regular expression tried on the name,
// then the description, then the alternative names, as far as each is enabled.
class ArticleMatcher {
public:
    ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames, bool caseSensitive);

    bool matches(const Article& article) const;

private:
    bool matchesText(const std::string& latin1) const;

    QRegularExpression expression;
    bool inName;
    bool inDescription;
    bool inOtherNames;
};
