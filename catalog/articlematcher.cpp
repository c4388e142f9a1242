#include "catalog/articlematcher.h"

namespace {
// Umlauts and ß are letters to \w, \b and the character classes, as in any German text; without Unicode
// properties "\w+" would stop at every umlaut. The case is ignored by the expression itself: lowering the
// pattern instead would turn \D, \S, \W or \B into their opposites.
QRegularExpression::PatternOptions searchOptions(bool caseSensitive) {
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    return options;
}
} // namespace

ArticleMatcher::ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames,
                               bool caseSensitive)
    : expression(pattern, searchOptions(caseSensitive)), inName(inName), inDescription(inDescription),
      inOtherNames(inOtherNames) {
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
