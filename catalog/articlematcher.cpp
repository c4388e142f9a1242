#include "catalog/articlematcher.h"

#include "catalog/articletexts.h"
#include "catalog/vectorstate.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QRegularExpression>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Whether an escape is known to stand for characters other than '\n', or for an assertion about the
// neighbouring characters only. Inside a class it must also be no end of a range that could pass over '\n'
// (all other ends of ranges are printable), which leaves the classes and punctuation.
bool knownEscape(unsigned char escape, bool inClass) {
    if (escape < 0x20 || escape >= 0x7F)
        return false;
    return !std::isalnum(escape) || std::strchr(inClass ? "dwShV" : "dwShVNbBaefrt", escape);
}

// Whether what follows a '(' opens a group, capturing or not, or a lookaround; anything else there sets
// options, names or calls a group, or is a verb.
bool knownGroup(std::string_view rest) {
    if (rest.empty() || (rest[0] != '?' && rest[0] != '*'))
        return true;
    for (std::string_view head : {"?:", "?=", "?!", "?<=", "?<!"})
        if (rest.substr(0, head.size()) == head)
            return true;
    return false;
}

// The pattern for a scan over the joined fields: every negated class and every escape that includes '\n'
// loses it, so that no match and no attempt can run from one field into the next. That keeps each field's
// cost its own, and a match in the joined fields is exactly a match in its field alone as long as no field
// holds a '\n' of its own. The pattern is read as PCRE2 reads it, but only as far as what is known for
// certain not to match a '\n' (plain and non-capturing groups, lookarounds, quantifiers, classes without
// nested brackets, the escapes above): anything else (options, verbs, back-references, \Q, \c, \x, octal
// escapes, properties, control bytes) leaves the pattern to run field by field. `splits` receives the
// places of the top level's '|' in the result.
std::optional<std::string> lineBound(const std::string& pattern, std::vector<std::size_t>& splits) {
    const std::size_t size = pattern.size();
    const auto at = [&](std::size_t i) { return i < size ? static_cast<unsigned char>(pattern[i]) : 0u; };
    std::string out;
    std::size_t depth = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = at(i);
        if (c < 0x20 || c == 0x7F)
            return std::nullopt;
        if (c == '\\') {
            const unsigned char escape = at(++i);
            // \s \D \W \H and \v include '\n': each becomes the negation of its opposite, which can leave it
            // out.
            if (const std::size_t k = std::string_view("sDWHv").find(char(escape));
                k != std::string_view::npos) {
                out += "[^\\";
                out += "SdwhV"[k];
                out += "\\n]";
                continue;
            }
            if (!knownEscape(escape, false))
                return std::nullopt;
            out += '\\';
        } else if (c == '(') {
            if (!knownGroup(std::string_view(pattern).substr(i + 1)))
                return std::nullopt;
            ++depth;
        } else if (c == ')') {
            if (depth == 0)
                return std::nullopt;
            --depth;
        } else if (c == '|' && depth == 0) {
            splits.push_back(out.size());
        } else if (c == '[') {
            const bool negated = at(i + 1) == '^';
            out += negated ? "[^\\n" : "[";
            i += negated;
            // A ']' first in the class is one of its characters, which it no longer is after the '\n'.
            if (at(i + 1) == ']') {
                out += "\\]";
                ++i;
            }
            for (++i;; ++i) {
                const unsigned char member = at(i);
                if (member < 0x20 || member == 0x7F || member == '[')
                    return std::nullopt;
                if (member == ']')
                    break;
                out += char(member);
                if (member == '\\') {
                    const unsigned char escape = at(++i);
                    // A negated class without '\n' stays so whatever it holds, as long as its end is found.
                    if (negated ? (escape < 0x20 || escape >= 0x7F || std::strchr("cQE", escape))
                                : !knownEscape(escape, true))
                        return std::nullopt;
                    out += char(escape);
                }
            }
        }
        out += char(at(i));
    }
    return out;
}

// The smallest and largest stack QRegularExpression gives its JIT-compiled expressions, so that a deep
// pattern fails here where it fails there.
constexpr std::size_t jitStackStart = 32 * 1024;
constexpr std::size_t jitStackMax = 512 * 1024;

} // namespace

struct ArticleMatcher::Engine {
    enum class Path {
        Nothing,    // invalid pattern or no field to search
        Expression, // QRegularExpression on each field
        PerField,   // the byte expression on each field
        Scan        // the line-bound byte expression over the joined fields
    };

    // A compiled byte expression and whether it runs as machine code.
    struct Code {
        pcre2_code* code = nullptr;
        bool jit = false;
    };

    Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine() {
        pcre2_code_free(field.code);
        for (const Code& code : scans)
            pcre2_code_free(code.code);
        pcre2_match_data_free(data);
        pcre2_match_context_free(context);
        pcre2_jit_stack_free(stack);
    }

    static bool compile(Code& into, std::string_view pattern, std::uint32_t options) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        into.code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                                  &error, &offset, nullptr);
        if (!into.code)
            return false;
        // Without JIT support the interpreter gives the same answers, only slower.
        into.jit = pcre2_jit_compile(into.code, PCRE2_JIT_COMPLETE) == 0;
        return true;
    }

    static std::uint32_t info(const Code& code, std::uint32_t what) {
        std::uint32_t value = 0;
        return pcre2_pattern_info(code.code, what, &value) == 0 ? value : 0;
    }

    // The result of one match call: at least 0 for a match, PCRE2_ERROR_NOMATCH or another error.
    int run(const Code& code, std::string_view subject, std::size_t offset) const {
        // A field of no bytes may have no address; the library wants one all the same.
        static const char empty = '\0';
        const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? &empty : subject.data());
        return code.jit ? pcre2_jit_match(code.code, bytes, subject.size(), offset, 0, data, context)
                        : pcre2_match(code.code, bytes, subject.size(), offset, 0, data, context);
    }

    // A matching error (a limit reached) counts as no match, as QRegularExpression counts it.
    bool matchesField(std::string_view latin1) const {
        if (path == Path::Expression) {
            // The byte expression of a pattern with back-references folds their case by ASCII alone: its
            // match is a match, and so is its no where no letter of the field has another case in Latin-1.
            const int rc = field.code ? run(field, latin1, 0) : PCRE2_ERROR_NULL;
            if (rc >= 0 ||
                (rc == PCRE2_ERROR_NOMATCH && std::none_of(latin1.begin(), latin1.end(), [](char c) {
                     const auto u = static_cast<unsigned char>(c);
                     return u >= 0xC0 && u != 0xD7 && u != 0xF7 && u != 0xFF;
                 })))
                return rc >= 0;
            subject.resize(qsizetype(latin1.size()));
            QChar* out = subject.data();
            for (char c : latin1)
                *out++ = QChar(static_cast<unsigned char>(c));
            return expression.match(QStringView(subject)).hasMatch();
        }
        return run(field, latin1, 0) >= 0;
    }

    void findEach(const ArticleTexts& texts, ArticleTexts::Field f, std::uint32_t first, std::uint32_t end,
                  std::vector<std::uint32_t>& found) const {
        for (std::uint32_t a = first; a < end; ++a)
            if (matchesField(texts.field(f, a)))
                found.push_back(a);
    }

    // Each scan expression's next match is kept until the search passes it, so that an alternative that
    // matches only far ahead is not sought again from every field in between. The earliest of them is a
    // match of the whole in that field, which the search then leaves.
    void scanFields(const ArticleTexts& texts, ArticleTexts::Field f, std::uint32_t first, std::uint32_t end,
                    std::vector<std::uint32_t>& found) const {
        const std::uint32_t begin = texts.start(f, first);
        const std::string_view joined = texts.buffer(f).substr(begin, texts.start(f, end) - begin);
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
        std::vector<std::size_t> next(scans.size());
        for (std::uint32_t a = first; a < end; ++a) {
            const std::size_t from = texts.start(f, a) - begin;
            std::size_t earliest = none;
            for (std::size_t i = 0; i < scans.size(); ++i) {
                if (a == first || next[i] < from) {
                    const int rc = run(scans[i], joined, from);
                    // A limit reached: the fields answer alone, as they would to QRegularExpression.
                    if (rc < 0 && rc != PCRE2_ERROR_NOMATCH)
                        return findEach(texts, f, a, end, found);
                    next[i] = rc < 0 ? none : ovector[0];
                }
                earliest = std::min(earliest, next[i]);
            }
            if (earliest >= joined.size())
                return;
            a = texts.articleAt(f, begin + std::uint32_t(earliest), a);
            found.push_back(a);
        }
    }

    // A top-level alternation as a whole gets at best a set of possible first bytes to seek, where each
    // alternative alone usually has a first byte that the JIT finds many times faster. Every alternative
    // then scans on its own, as long as at most one of them lacks such a start: that one costs about what
    // the whole did and the others little. One that matches the empty text would match in every field.
    void splitScan(std::string_view pattern, const std::vector<std::size_t>& splits, std::uint32_t options) {
        if (splits.empty() || info(scans.front(), PCRE2_INFO_FIRSTCODETYPE) != 0)
            return;
        std::vector<Code> alternatives(splits.size() + 1);
        std::size_t from = 0, slow = 0;
        bool split = true;
        for (std::size_t i = 0; split && i < alternatives.size(); ++i) {
            const std::size_t to = i < splits.size() ? splits[i] : pattern.size();
            split = compile(alternatives[i], pattern.substr(from, to - from), options) &&
                    info(alternatives[i], PCRE2_INFO_MINLENGTH) > 0;
            slow += info(alternatives[i], PCRE2_INFO_FIRSTCODETYPE) == 0;
            from = to + 1;
        }
        if (split && slow <= 1)
            std::swap(scans, alternatives);
        for (const Code& code : alternatives)
            pcre2_code_free(code.code);
    }

    Path path = Path::Nothing;
    std::array<bool, ArticleTexts::FieldCount> fields{};
    QRegularExpression expression;
    // One subject string for all fields instead of one per field.
    mutable QString subject;
    Code field;
    // The line-bound expression with ^ and $ at every '\n', or each of its alternatives so.
    std::vector<Code> scans;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;
};

ArticleMatcher::ArticleMatcher(const QString& pattern, bool inName, bool inDescription, bool inOtherNames,
                               bool caseSensitive)
    : engine(std::make_unique<Engine>()) {
    Engine& e = *engine;
    e.fields = {inName, inDescription, inOtherNames};
    e.expression = QRegularExpression(pattern, searchOptions(caseSensitive));
    // Validity is QRegularExpression's to decide, also where the byte expression would compile.
    if (!e.expression.isValid() || !(inName || inDescription || inOtherNames))
        return;
    e.path = Engine::Path::Expression;
    e.expression.optimize();
    std::string latin1;
    latin1.reserve(std::size_t(pattern.size()));
    for (QChar c : pattern) {
        if (c.unicode() > 0xFF)
            return;
        latin1 += static_cast<char>(c.unicode());
    }
    // Bytes stay bytes: (*UTF) would take them for UTF-8, so such a pattern fails here and goes to
    // QRegularExpression, as do escapes for characters beyond Latin-1.
    std::uint32_t options = PCRE2_UCP | PCRE2_NEVER_UTF;
    if (!caseSensitive)
        options |= PCRE2_CASELESS;
    e.data = pcre2_match_data_create(1, nullptr);
    e.context = pcre2_match_context_create(nullptr);
    if (!e.data || !e.context || !e.compile(e.field, latin1, options))
        return;
    e.stack = pcre2_jit_stack_create(jitStackStart, jitStackMax, nullptr);
    if (e.stack)
        pcre2_jit_stack_assign(e.context, nullptr, e.stack);
    // In bytes, the JIT folds the case of back-references beyond ASCII not at all: QRegularExpression
    // answers where that could matter.
    if (Engine::info(e.field, PCRE2_INFO_BACKREFMAX) > 0)
        return;
    e.path = Engine::Path::PerField;
    // The scan takes '\n' for the end of a line; with a library built otherwise the fields stay apart.
    std::uint32_t newline = 0;
    pcre2_config(PCRE2_CONFIG_NEWLINE, &newline);
    std::vector<std::size_t> splits;
    const std::optional<std::string> scan = lineBound(latin1, splits);
    e.scans.emplace_back();
    if (newline != PCRE2_NEWLINE_LF || !scan || !e.compile(e.scans.back(), *scan, options | PCRE2_MULTILINE))
        return;
    e.path = Engine::Path::Scan;
    e.splitScan(*scan, splits, options | PCRE2_MULTILINE);
}

ArticleMatcher::~ArticleMatcher() = default;
ArticleMatcher::ArticleMatcher(ArticleMatcher&& other) noexcept = default;
ArticleMatcher& ArticleMatcher::operator=(ArticleMatcher&& other) noexcept = default;

bool ArticleMatcher::matches(const Article& article) const {
    if (!engine || engine->path == Engine::Path::Nothing)
        return false;
    const Engine& e = *engine;
    return (e.fields[ArticleTexts::Name] && e.matchesField(article.name)) ||
           (e.fields[ArticleTexts::Description] && e.matchesField(article.description)) ||
           (e.fields[ArticleTexts::OtherNames] && e.matchesField(article.otherNames));
}

void ArticleMatcher::find(const ArticleTexts& texts, std::uint32_t first, std::uint32_t end,
                          std::vector<std::uint32_t>& found) const {
    clearUpperVectorState();
    end = std::min(end, texts.size());
    if (!engine || engine->path == Engine::Path::Nothing || first >= end)
        return;
    const Engine& e = *engine;
    const std::size_t base = found.size();
    bool merge = false;
    for (int f = 0; f < ArticleTexts::FieldCount; ++f) {
        if (!e.fields[f])
            continue;
        const std::size_t before = found.size();
        const auto kind = static_cast<ArticleTexts::Field>(f);
        // A field's own '\n' would end a line inside it, which the line-bound expression cannot pass.
        if (e.path == Engine::Path::Scan && !texts.hasInnerNewline(kind))
            e.scanFields(texts, kind, first, end, found);
        else
            e.findEach(texts, kind, first, end, found);
        // Each kind's numbers come ascending; together they are two sorted runs to merge.
        if (merge)
            std::inplace_merge(found.begin() + std::ptrdiff_t(base), found.begin() + std::ptrdiff_t(before),
                               found.end());
        merge = true;
    }
    found.erase(std::unique(found.begin() + std::ptrdiff_t(base), found.end()), found.end());
}
