#include "catalog/articletexts.h"

#include "catalog/category.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

void ArticleTexts::reserve(std::size_t articles, const std::array<std::size_t, FieldCount>& bytes) {
    for (int f = 0; f < FieldCount; ++f) {
        starts[f].reserve(articles + 1);
        buffers[f].reserve(bytes[f]);
    }
}

void ArticleTexts::append(std::string_view name, std::string_view description, std::string_view otherNames,
                          bool withoutNewlines) {
    const std::array<std::string_view, FieldCount> texts{name, description, otherNames};
    constexpr std::uint64_t limit = std::numeric_limits<std::uint32_t>::max();
    // Checked for all three before anything changes, so that a refused article leaves no trace.
    if (starts[Name].size() - 1 >= limit)
        throw std::length_error("ArticleTexts: too many articles");
    for (int f = 0; f < FieldCount; ++f)
        if (std::uint64_t(buffers[f].size()) + texts[f].size() + 1 > limit)
            throw std::length_error("ArticleTexts: texts beyond 4 GiB");
    for (int f = 0; f < FieldCount; ++f) {
        const std::string_view text = texts[f];
        if (!withoutNewlines && text.find('\n') != std::string_view::npos)
            innerNewline[f] = true;
        buffers[f] += text;
        buffers[f] += '\n';
        starts[f].push_back(std::uint32_t(buffers[f].size()));
    }
}

ArticleTexts ArticleTexts::permuted(const std::vector<std::uint32_t>& order) const {
    ArticleTexts result;
    result.innerNewline = innerNewline;
    for (int f = 0; f < FieldCount; ++f) {
        const std::string& from = buffers[f];
        const std::vector<std::uint32_t>& at = starts[f];
        std::string& to = result.buffers[f];
        to.reserve(from.size());
        result.starts[f].reserve(order.size() + 1);
        for (std::size_t k = 0; k < order.size(); ++k) {
            // The fields lie scattered over the buffer: asking for one a few ahead hides most of the wait.
            if (k + 8 < order.size())
                __builtin_prefetch(from.data() + at[order[k + 8]]);
            const std::uint32_t r = order[k];
            to.append(from, at[r], at[r + 1] - at[r]);
            result.starts[f].push_back(std::uint32_t(to.size()));
        }
    }
    return result;
}

void keepTextsOnce(Catalog& catalog) {
    auto texts = std::make_shared<ArticleTexts>();
    forEachArticle(catalog, [&texts](const Article& article) {
        texts->append(article.name, article.description, article.otherNames);
    });
    std::uint32_t n = 0;
    forEachArticle(catalog, [&](Article& article) {
        article.name = texts->field(ArticleTexts::Name, n);
        article.description = texts->field(ArticleTexts::Description, n);
        article.otherNames = texts->field(ArticleTexts::OtherNames, n++);
    });
    catalog.texts = std::move(texts);
}

std::uint32_t ArticleTexts::articleAt(Field f, std::uint32_t offset, std::uint32_t from) const {
    // A search that matches in most fields asks for `from` itself or one soon after it, again and again:
    // widening the range from there before the binary search makes that a step or two instead of a search
    // through all the articles that follow.
    const auto& s = starts[f];
    std::size_t low = std::size_t(from) + 1;
    std::size_t high = low;
    for (std::size_t step = 1; high < s.size() && s[high] <= offset; step *= 2) {
        low = high + 1;
        high += step;
    }
    high = std::min(high, s.size());
    return std::uint32_t(
        std::upper_bound(s.begin() + std::ptrdiff_t(low), s.begin() + std::ptrdiff_t(high), offset) -
        s.begin() - 1);
}
