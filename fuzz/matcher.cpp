// The search against QRegularExpression on each field. The input is a flags byte (bit 0: case-sensitive,
// bits 1 to 3: the name, description and alternative names searched, bit 7: the cost check below), the
// pattern in UTF-8 up to a NUL byte, then Latin-1 fields separated by NUL bytes, three to an article.
//
// A handful of fields costs microseconds even where a search is quadratic. With bit 7 the articles are
// repeated to two sizes, eight times apart, and searched again: a search whose cost per field depends on
// the fields after it takes far more than eight times as long on the larger.
#include "catalog/articlematcher.h"
#include "catalog/articletexts.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr std::size_t maxArticles = 8;

// The CPU time of this thread: other processes on the machine do not count, as they would in a clock.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void require(bool condition, const char* what, const QString& pattern) {
    if (condition)
        return;
    std::fprintf(stderr, "%s for pattern \"%s\"\n", what, pattern.toUtf8().constData());
    std::abort();
}

// The articles of `texts` in [first, end) that the expected hits name, as find() appends them.
std::vector<std::uint32_t> expectedFound(const std::vector<bool>& hit, std::uint32_t first,
                                         std::uint32_t end) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t a = first; a < end; ++a)
        if (hit[a % hit.size()])
            found.push_back(a);
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t patternEnd = std::min(input.find('\0'), input.size());
    const QString pattern = QString::fromUtf8(input.data(), qsizetype(patternEnd));
    std::vector<std::string> fields;
    for (std::size_t from = patternEnd + 1; from <= input.size() && fields.size() < 3 * maxArticles;) {
        const std::size_t to = std::min(input.find('\0', from), input.size());
        fields.push_back(input.substr(from, to - from));
        from = to + 1;
    }
    fields.resize((fields.size() + 2) / 3 * 3);
    if (fields.empty())
        fields.resize(3);

    const bool caseSensitive = flags & 1;
    const std::array<bool, 3> searched{bool(flags & 2), bool(flags & 4), bool(flags & 8)};
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    const QRegularExpression expression(pattern, options);
    const ArticleMatcher matcher(pattern, searched[0], searched[1], searched[2], caseSensitive);

    std::vector<Article> articles(fields.size() / 3);
    std::vector<bool> hit(articles.size());
    ArticleTexts texts;
    const double referenceStart = cpuSeconds();
    for (std::size_t a = 0; a < articles.size(); ++a) {
        Article& article = articles[a];
        article.name = fields[3 * a];
        article.description = fields[3 * a + 1];
        article.otherNames = fields[3 * a + 2];
        for (std::size_t f = 0; f < 3; ++f) {
            const std::string& field = fields[3 * a + f];
            hit[a] =
                hit[a] ||
                (searched[f] && expression.isValid() &&
                 expression.match(QString::fromLatin1(field.data(), qsizetype(field.size()))).hasMatch());
        }
        require(matcher.matches(article) == hit[a], "matches() differs from the expression", pattern);
        texts.append(article.name, article.description, article.otherNames);
    }

    const auto n = std::uint32_t(articles.size());
    for (const auto& [first, end] : {std::pair<std::uint32_t, std::uint32_t>{0, n}, {1, n}, {0, n - 1}}) {
        std::vector<std::uint32_t> found;
        matcher.find(texts, first, end, found);
        require(found == expectedFound(hit, first, end), "find() differs from the expression", pattern);
    }

    // A pattern that backtracks badly may cost up to the match limit on every field, here as in
    // QRegularExpression; many copies of such fields only take long, they prove nothing.
    if (flags & 0x80 && cpuSeconds() - referenceStart < 0.001) {
        // Whole copies of the articles, as many as make the searched kinds hold 16 KiB and, eight times
        // that, 128 KiB of text: a linear search takes about eight times as long on the second.
        std::size_t copyBytes = 0;
        for (std::size_t a = 0; a < articles.size(); ++a)
            for (std::size_t f = 0; f < 3; ++f)
                copyBytes += searched[f] ? fields[3 * a + f].size() + 1 : 0;
        const auto timedFind = [&](std::size_t copies) {
            ArticleTexts repeated;
            for (std::size_t c = 0; c < copies; ++c)
                for (const Article& article : articles)
                    repeated.append(article.name, article.description, article.otherNames);
            std::vector<std::uint32_t> found;
            const double start = cpuSeconds();
            matcher.find(repeated, 0, repeated.size(), found);
            const double took = cpuSeconds() - start;
            require(found == expectedFound(hit, 0, repeated.size()), "find() over repeated articles differs",
                    pattern);
            return took;
        };
        const std::size_t copies = std::max<std::size_t>(1, 16 * 1024 / std::max<std::size_t>(copyBytes, 1));
        // Generous against noise, and measured again before it counts: a search quadratic in the fields
        // takes about 64 times as long.
        const auto grows = [&] {
            const double small = std::min({timedFind(copies), timedFind(copies), timedFind(copies)});
            const double large = timedFind(8 * copies);
            return large > 0.005 && large > 24 * small;
        };
        require(!grows() || !grows() || !grows(), "the search's cost grows faster than its texts", pattern);
    }
    return 0;
}
