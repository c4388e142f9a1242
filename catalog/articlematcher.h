#pragma once

#include "catalog/article.h"

#include <QRegularExpression>
#include <QString>

#include <array>
#include <string>
#include <vector>

// Decides whether an article matches a search: the pattern is a regular expression tried on the name,
// then the description, then the alternative names, as far as each is enabled.
//
// Most searches are plain words. Every match of such a pattern contains a word of it, so the bytes of a
// field are first scanned for those words, and the regular expression runs only where one occurs; for a
// pattern made of nothing but words and "|" the scan alone decides. The words are taken only from
// patterns without escapes, groups and classes, and only up to the first character that could mean
// anything but itself, so that the scan never turns away a field the expression would match.
class ArticleMatcher {
public:
    ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames,
                   bool caseSensitive);

    bool matches(const Article& article) const;

private:
    enum class Words {
        None,   // the pattern offers no word every match contains
        Filter, // every match contains one of the words
        Decide  // a field matches exactly when it contains one of the words
    };

    void findWords(const QString& pattern);
    bool containsWord(const std::string& latin1) const;
    bool matchesText(const std::string& latin1) const;

    QRegularExpression expression;
    bool inName;
    bool inDescription;
    bool inOtherNames;
    bool caseSensitive;
    Words words = Words::None;
    // Latin-1 bytes, case folded unless the search is case-sensitive.
    std::vector<std::string> wordList;
    // The scan is Horspool's over the first shortest-word-length bytes of every word: it looks at the byte
    // that ends a window, and moves the window by as much as that byte allows. For every byte: the byte as
    // the words are written (case folded unless the search is case-sensitive), how far it lets the window
    // move, and whether some word has it at the window's last place.
    std::array<unsigned char, 256> wordByte{};
    std::array<unsigned char, 256> shift{};
    std::array<bool, 256> endsWindow{};
    std::size_t window = 0;
    // One subject string for all fields instead of one per field.
    mutable QString subject;
};
