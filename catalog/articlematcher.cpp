#include "catalog/articlematcher.h"

#include <QStringView>

#include <algorithm>


namespace {

// The expression matches without regard to case by Unicode's simple case folding. Within Latin-1, the only
// characters that fold together are A-Z with a-z and the letters C0-DE (but not D7, the multiplication
// sign) with E0-FE; the other partners of k, s, µ, å, ß and ÿ lie outside Latin-1 and never occur in a
// field.
unsigned char fold(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

// Characters that stand for themselves in the patterns looked at (no escapes, groups or classes there).
bool plain(QChar c) {
    switch (c.unicode()) {
    case '^':
    case '$':
    case '.':
    case '|':
    case '?':
    case '*':
    case '+':
    case '{':
    case '}':
    case ')':
    case ']':
        return false;
    default:
        return c.unicode() <= 0xFF;
    }
}

bool quantifier(QChar c) {
    return c == QLatin1Char('?') || c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('{');
}

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
      inOtherNames(inOtherNames), caseSensitive(caseSensitive) {
    // An invalid pattern finds nothing.
    if (!expression.isValid()) {
        this->inName = this->inDescription = this->inOtherNames = false;
        return;
    }
    expression.optimize();
    findWords(pattern);
}

void ArticleMatcher::findWords(const QString& pattern) {
    // Without a backslash, a parenthesis or a bracket there are no escapes, groups, classes, inline options
    // or verbs, so every "|" separates two alternatives of the whole pattern.
    if (pattern.contains(QLatin1Char('\\')) || pattern.contains(QLatin1Char('(')) ||
        pattern.contains(QLatin1Char('[')))
        return;
    bool decides = true;
    for (QStringView alternative : QStringView(pattern).split(QLatin1Char('|'))) {
        qsizetype start = 0;
        // Anchors take no room; the word still has to follow them.
        while (start < alternative.size() && alternative[start] == QLatin1Char('^'))
            ++start;
        qsizetype end = start;
        while (end < alternative.size() && plain(alternative[end]))
            ++end;
        // A character under a quantifier may be missing from the match.
        if (end < alternative.size() && quantifier(alternative[end]) && end > start)
            --end;
        if (end == start)
            return; // this alternative matches without any word
        if (start > 0 || end < alternative.size())
            decides = false;
        std::string word;
        for (qsizetype i = start; i < end; ++i) {
            const auto c = static_cast<unsigned char>(alternative[i].unicode());
            word += static_cast<char>(caseSensitive ? c : fold(c));
        }
        wordList.push_back(word);
    }
    words = decides ? Words::Decide : Words::Filter;
    window = wordList.front().size();
    for (const std::string& word : wordList)
        window = std::min(window, word.size());
    // Words are Latin-1 bytes of at most the pattern's length; a window of 255 moves far enough.
    window = std::min<std::size_t>(window, 255);
    for (std::size_t b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        wordByte[b] = caseSensitive ? byte : fold(byte);
        std::size_t distance = window;
        for (const std::string& word : wordList) {
            for (std::size_t k = 0; k + 1 < window; ++k)
                if (static_cast<unsigned char>(word[k]) == wordByte[b])
                    distance = std::min(distance, window - 1 - k);
            if (static_cast<unsigned char>(word[window - 1]) == wordByte[b])
                endsWindow[b] = true;
        }
        shift[b] = static_cast<unsigned char>(distance);
    }
}

bool ArticleMatcher::containsWord(const std::string& latin1) const {
    const auto* text = reinterpret_cast<const unsigned char*>(latin1.data());
    const std::size_t size = latin1.size();
    for (std::size_t end = window - 1; end < size; end += shift[text[end]]) {
        if (!endsWindow[text[end]])
            continue;
        const std::size_t start = end + 1 - window;
        for (const std::string& word : wordList) {
            if (word.size() > size - start)
                continue;
            std::size_t k = 0;
            while (k < word.size() && wordByte[text[start + k]] == static_cast<unsigned char>(word[k]))
                ++k;
            if (k == word.size())
                return true;
        }
    }
    return false;
}

bool ArticleMatcher::matchesText(const std::string& latin1) const {
    if (words != Words::None) {
        const bool found = containsWord(latin1);
        if (!found || words == Words::Decide)
            return found;
    }
    subject.resize(qsizetype(latin1.size()));
    QChar* out = subject.data();
    for (char c : latin1)
        *out++ = QChar(static_cast<unsigned char>(c));
    return expression.match(QStringView(subject)).hasMatch();
}

bool ArticleMatcher::matches(const Article& article) const {
    return (inName && matchesText(article.name)) || (inDescription && matchesText(article.description)) ||
           (inOtherNames && matchesText(article.otherNames));
}
