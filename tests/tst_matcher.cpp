#include "catalog/articlematcher.h"
#include "catalog/articletexts.h"
#include "support/catalogwriter.h"

#include <QtTest>

#include <array>
#include <random>

using vxtest::latin1;

namespace {

QRegularExpression reference(const QString& pattern, bool caseSensitive) {
    return QRegularExpression(pattern, caseSensitive ? QRegularExpression::UseUnicodePropertiesOption
                                                     : QRegularExpression::UseUnicodePropertiesOption |
                                                           QRegularExpression::CaseInsensitiveOption);
}

// Short fields from pieces that make the interesting neighbours likely: a field ending in blanks before one
// starting with "b", empty fields in a row, umlauts in both cases, letters whose other case lies beyond
// Latin-1, a '\r' before the separator, control bytes and spaces that some escapes take for white space,
// characters that patterns also use as syntax and, if asked, a '\n' inside a field.
// The articles view their fields in texts, numbered alike.
std::vector<Article> generatedArticles(unsigned seed, bool innerNewlines, ArticleTexts& texts) {
    static const char* const pieces[] = {
        "a",  "b",       "x",       "ab",     "ba",      " ", "  ", "\t",   "0",    "42",     "ä",
        "Ä",  "ö",       "Ü",       "ß",      "µ",       "ÿ", "×",  "k",    "K",    "ª",      "-",
        ".",  "Gehäuse", "GEHÄUSE", "\r",     "kelvin",  "|", "]",  "y",    "\x1c", "\u0085", "\u00a0",
        "\v", "\f",      "éÉ",      "Straße", "STRASSE", "Å", "c",  "a{2}", "+"};
    constexpr std::size_t count = sizeof pieces / sizeof *pieces;
    std::mt19937 random(seed);
    std::vector<Article> articles(150);
    for (std::size_t a = 0; a < articles.size(); ++a) {
        std::array<std::string, ArticleTexts::FieldCount> fields;
        for (std::string& text : fields) {
            for (unsigned n = random() % 5; n > 0; --n)
                text += latin1(pieces[random() % count]);
            if (innerNewlines && random() % 6 == 0)
                text.insert(random() % (text.size() + 1), 1, '\n');
        }
        texts.append(fields[0], fields[1], fields[2]);
    }
    for (std::uint32_t a = 0; a < articles.size(); ++a) {
        articles[a].name = texts.field(ArticleTexts::Name, a);
        articles[a].description = texts.field(ArticleTexts::Description, a);
        articles[a].otherNames = texts.field(ArticleTexts::OtherNames, a);
    }
    return articles;
}

} // namespace

// The matcher answers exactly as QRegularExpression on each field would, however it gets there.
class tst_Matcher : public QObject {
    Q_OBJECT

private slots:
    void findAgreesWithTheExpression_data() {
        QTest::addColumn<bool>("innerNewlines");
        QTest::newRow("fields on one line") << false;
        QTest::newRow("fields with line breaks of their own") << true;
    }

    // find() over the joined fields of every subset of field kinds and over parts of the catalog, and
    // matches() on the single article, against the expression on each field.
    void findAgreesWithTheExpression() {
        QFETCH(bool, innerNewlines);
        ArticleTexts texts;
        const std::vector<Article> articles = generatedArticles(innerNewlines ? 2 : 1, innerNewlines, texts);
        const auto n = texts.size();
        QCOMPARE(n, std::uint32_t(articles.size()));

        const char* const patterns[] = {
            // what can run from one field into the next
            R"(\s)", R"([^x])", R"(\D)", R"(.*)", R"(a\s*b)", R"(\s*b)", R"(\W{2})", R"(x[^a]*k)", R"(\H\v)",
            R"([^]a]*\S$)", R"([]\s]b)",
            // anchors, alternatives, word boundaries
            "^", "$", "^$", "^a", "b$", R"(^\d+$)", R"(^\s|\s$)", "kelvin|^x", R"(\bab\b)", R"(\Ba)",
            R"(x\b|ß\b)",
            // alternatives scanned one by one, split only at a '|' of the top level, and alternatives that
            // depend on each other or match everywhere
            "a|b", "ä|ß", R"(x\s|\sy)", "^a|b$", "[|]|a", "[]|]|ä", "[^]|a]|b", R"(\||b)", "(a|b)|y",
            "a(?:b|x)|y", R"(\Qa|b\E|y)", "a|", "|a", R"((a)|\1)", R"((x)|(\w)\1)",
            // letters beyond ASCII, their cases and classes
            "gehäuse", "ÄB", R"(ö\w)", "[[:alpha:]]ß", R"(\p{Lu}$)", "µ|ÿ", "×", "ª",
            // lookarounds, atomic parts and escapes that look beyond a field or are read in more than one way
            R"((?<!\s)a)", R"(b(?!\s))", R"(b\z)", R"(\Aa)", R"(x\Z)", "(*CR)b$", R"(a\s*+$)", R"((?>\s*)$)",
            R"(\R$)", R"(\X$)", R"(\s\Kb)", R"(\Ga)", "(?m)^b", R"(\c\(?!\s))",
            // back-references, whose case the expression folds beyond ASCII too
            R"((.)\1)", R"((\p{L})\1)", R"((?i)(.)\1)",
            // beyond Latin-1, or only for QRegularExpression
            "\u212Aelvin", "Ÿ", R"(\x{100}|ä)", R"((*UTF)\xe4)",
            // quantifiers and anchors read literally or twice, case folding the expression does not do
            "ab?c", "a{2}", "a{x", "^^ab", "a\\+b", "(?i)AB", "straße", "\u212Bngstr\u00F6m", "Å|µ",
            // invalid
            "a(", "[b"};
        const std::array<std::pair<std::uint32_t, std::uint32_t>, 4> ranges{
            {{0, n}, {1, n - 1}, {n / 3, n / 3 + 1}, {n / 2, n / 2}}};
        const std::array<std::string_view Article::*, ArticleTexts::FieldCount> members{
            &Article::name, &Article::description, &Article::otherNames};

        for (const char* utf8 : patterns)
            for (bool caseSensitive : {false, true}) {
                const QString pattern = QString::fromUtf8(utf8);
                const QRegularExpression expression = reference(pattern, caseSensitive);
                // An invalid pattern finds nothing.
                std::array<std::vector<bool>, ArticleTexts::FieldCount> hits;
                for (int f = 0; f < ArticleTexts::FieldCount; ++f)
                    for (const Article& article : articles) {
                        const std::string_view field = article.*members[f];
                        hits[f].push_back(
                            expression.isValid() &&
                            expression.match(QString::fromLatin1(field.data(), qsizetype(field.size())))
                                .hasMatch());
                    }
                for (int kinds = 1; kinds < 8; ++kinds) {
                    const ArticleMatcher matcher(pattern, kinds & 1, kinds & 2, kinds & 4, caseSensitive);
                    std::vector<std::uint32_t> all;
                    for (std::uint32_t a = 0; a < n; ++a)
                        if ((kinds & 1 && hits[0][a]) || (kinds & 2 && hits[1][a]) ||
                            (kinds & 4 && hits[2][a]))
                            all.push_back(a);
                    const QString what = QStringLiteral("%1 %2, fields %3")
                                             .arg(pattern, caseSensitive ? "case-sensitive" : "ignoring case")
                                             .arg(kinds);
                    for (std::uint32_t a = 0; a < n; ++a)
                        QVERIFY2(matcher.matches(articles[a]) ==
                                     std::binary_search(all.begin(), all.end(), a),
                                 qPrintable(what + QStringLiteral(", article %1").arg(a)));
                    for (auto [first, end] : ranges) {
                        // The numbers go after what is there already.
                        std::vector<std::uint32_t> found{n}, expected{n};
                        std::copy_if(
                            all.begin(), all.end(), std::back_inserter(expected),
                            [first = first, end = end](std::uint32_t a) { return a >= first && a < end; });
                        matcher.find(texts, first, end, found);
                        QVERIFY2(
                            found == expected,
                            qPrintable(what + QStringLiteral(", articles %1 to %2").arg(first).arg(end)));
                    }
                }
            }
    }

    // An empty catalog finds nothing, also when asked beyond its end.
    void emptyCatalog() {
        const ArticleTexts texts;
        for (const char* pattern : {"", ".*", "^$", "(?<=a)b", "\u212Aelvin", "a("}) {
            const ArticleMatcher matcher(QString::fromUtf8(pattern), true, true, true, false);
            std::vector<std::uint32_t> found;
            matcher.find(texts, 0, 0, found);
            matcher.find(texts, 0, 5, found);
            QVERIFY(texts.size() == 0 && found.empty());
        }
    }
};

QTEST_APPLESS_MAIN(tst_Matcher)
#include "tst_matcher.moc"
