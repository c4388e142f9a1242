#include "catalog/articlematcher.h"

ArticleMatcher::ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames,
                               bool caseSensitive)
    : expression(pattern, caseSensitive ? QRegularExpression::NoPatternOption
                                        : QRegularExpression::CaseInsensitiveOption),
      inName(inName), inDescription(inDescription), inOtherNames(inOtherNames) {
    // An invalid pattern finds nothing.
    if (!expression.isValid())
        this->inName = this->inDescription = this->inOtherNames = false;
    else
        expression.optimize();
}

bool ArticleMatcher::matchesText(const std::string& latin1) const {
    const QString subject = QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
    return expression.match(subject).hasMatch();
}

bool ArticleMatcher::matches(const Article& article) const {
    return (inName && matchesText(article.name)) || (inDescription && matchesText(article.description)) ||
           (inOtherNames && matchesText(article.otherNames));
}
