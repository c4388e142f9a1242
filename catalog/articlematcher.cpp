#include "catalog/articlematcher.h"

#include "catalog/articletexts.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QRegularExpression>
#include <QStringView>

#include <algorithm>
#include <array>
#include <limits>
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

// Whether a match in a field is sure to be found by a search over the joined buffer that starts at the
// field, where the field's edges are '\n' or the buffer's ends. That holds as long as every assertion of
// the pattern looks only at the neighbouring characters and the matcher may backtrack into every part:
// then whatever matches in the field alone matches in the buffer too. Read as plainly as possible, so
// that anything looking like one of the exceptions counts as one.
bool scannable(const std::string& pattern) {
    for (const char* possessive : {"*+", "++", "?+", "}+"})
        if (pattern.find(possessive) != std::string::npos)
            return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '(' && ((next == '?' && (i + 2 >= pattern.size() || pattern[i + 2] != ':')) || next == '*'))
            return false; // lookarounds, options, atomic groups, conditions, recursion, callouts, verbs
        if (c != '\\')
            continue;
        // \A \z \Z \G look beyond the field; \K moves the match's start; \R and \X are atomic and would
        // take a field's last '\r' together with the '\n' after it; \g<...> calls a group; \Q...\E would
        // hide any of them from this reading.
        if (std::string_view("AzZGKRXQ").find(next) != std::string_view::npos)
            return false;
        if (next == 'g' && i + 2 < pattern.size() && (pattern[i + 2] == '<' || pattern[i + 2] == '\''))
            return false;
        ++i;
    }
    // The scan takes '\n' for the end of a line; with a library built otherwise the fields stay apart.
    std::uint32_t newline = 0;
    pcre2_config(PCRE2_CONFIG_NEWLINE, &newline);
    return newline == PCRE2_NEWLINE_LF;
}

// Where a POSIX class such as [:alpha:] that opens at `at` inside a class ends, read as PCRE2 reads it, or
// `at` itself where it is a plain '[' of the class.
std::size_t posixClassEnd(const std::string& pattern, std::size_t at) {
    const char terminator = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
    if (terminator != ':' && terminator != '.' && terminator != '=')
        return at;
    for (std::size_t i = at + 2; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '\\' && (pattern[i + 1] == ']' || pattern[i + 1] == '\\'))
            ++i;
        else if ((pattern[i] == '[' && pattern[i + 1] == terminator) || pattern[i] == ']')
            return at;
        else if (pattern[i] == terminator && pattern[i + 1] == ']')
            return i + 1;
    }
    return at;
}

// The alternatives of a pattern that is an alternation at its top level, split at each '|' outside groups,
// classes, escapes and quoted text; none where there is no such '|' or where the alternatives may depend on
// each other: a back-reference or a call may name a group of another alternative, and only plain and (?:)
// groups are known to hold nothing of the kind. A '|' taken wrongly leaves an alternative that does not
// compile alone, which the caller checks.
std::vector<std::string> topLevelAlternatives(const std::string& pattern) {
    const std::size_t size = pattern.size();
    const auto at = [&](std::size_t i) { return i < size ? pattern[i] : '\0'; };
    std::vector<std::string> alternatives;
    std::size_t from = 0;
    std::size_t depth = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = pattern[i];
        if (c == '\\') {
            const char next = at(i + 1);
            if (next == 'Q') {
                const std::size_t quoteEnd = pattern.find("\\E", i + 2);
                if (quoteEnd == std::string::npos)
                    break;
                i = quoteEnd + 1;
            } else if ((next >= '1' && next <= '9') || next == 'g' || next == 'k') {
                return {};
            } else {
                // \c takes the character after it, whatever it is.
                i += next == 'c' ? 2 : 1;
            }
        } else if (inClass) {
            if (c == ']')
                inClass = false;
            else if (c == '[')
                i = posixClassEnd(pattern, i);
        } else if (c == '[') {
            inClass = true;
            // A ']' first in the class, also after '^', is one of its characters.
            if (at(i + 1) == '^')
                ++i;
            if (at(i + 1) == ']')
                ++i;
        } else if (c == '(') {
            if ((at(i + 1) == '?' && at(i + 2) != ':') || at(i + 1) == '*')
                return {};
            ++depth;
        } else if (c == ')') {
            if (depth == 0)
                return {};
            --depth;
        } else if (c == '|' && depth == 0) {
            alternatives.push_back(pattern.substr(from, i - from));
            from = i + 1;
        }
    }
    if (alternatives.empty())
        return {};
    alternatives.push_back(pattern.substr(from));
    return alternatives;
}

// The smallest and largest stack QRegularExpression gives its JIT-compiled expressions, so that a deep
// pattern fails here where it fails there.
constexpr std::size_t jitStackStart = 32 * 1024;
constexpr std::size_t jitStackMax = 512 * 1024;

} // namespace

struct ArticleMatcher::Engine {
    enum class Path {
        Nothing,    // invalid pattern or no field to search
        Expression, // QRegularExpression on each field, for patterns beyond Latin-1
        PerField,   // the byte expression on each field
        Scan        // the byte expression over the joined fields, then on each field it points at
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

    bool compile(Code& into, const std::string& pattern, std::uint32_t options) {
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

    // A match that stays within a field without a '\n' of its own saw exactly what the field alone shows.
    // One that reached into the next field, or began at this field's '\n', proves nothing about this field
    // and must be tried on it alone.
    static bool inside(const ArticleTexts& texts, ArticleTexts::Field f, std::uint32_t a,
                       std::size_t matchEnd) {
        return matchEnd < texts.start(f, a + 1) && !texts.hasInnerNewline(f);
    }

    void scanFields(const ArticleTexts& texts, ArticleTexts::Field f, std::uint32_t first, std::uint32_t end,
                    std::vector<std::uint32_t>& found) const {
        if (scans.size() > 1)
            return scanAlternatives(texts, f, first, end, found);
        const std::uint32_t begin = texts.start(f, first);
        const std::string_view joined = texts.buffer(f).substr(begin, texts.start(f, end) - begin);
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        std::uint32_t a = first;
        while (a < end) {
            const int rc = run(scans.front(), joined, texts.start(f, a) - begin);
            if (rc == PCRE2_ERROR_NOMATCH)
                return;
            if (rc < 0)
                return findEach(texts, f, a, end, found);
            a = texts.articleAt(f, begin + std::uint32_t(ovector[0]), a);
            if (a >= end)
                return;
            if (inside(texts, f, a, begin + ovector[1]) || matchesField(texts.field(f, a)))
                found.push_back(a);
            // Not from the match's end: a match running into the next field must not hide that field's own.
            ++a;
        }
    }

    // scanFields with one scan expression per alternative. A match of the whole at a place is a match of
    // some alternative there and back, so the earliest of their matches is the whole's, and each one's
    // next match is kept until the search passes it: an alternative that matches only far ahead is not
    // sought again from every field in between.
    void scanAlternatives(const ArticleTexts& texts, ArticleTexts::Field f, std::uint32_t first,
                          std::uint32_t end, std::vector<std::uint32_t>& found) const {
        const std::uint32_t begin = texts.start(f, first);
        const std::string_view joined = texts.buffer(f).substr(begin, texts.start(f, end) - begin);
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        struct Match {
            std::size_t start = 0;
            std::size_t end = 0;
        };
        constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
        std::vector<Match> next(scans.size());
        std::uint32_t a = first;
        for (bool firstField = true; a < end; firstField = false) {
            const std::size_t from = texts.start(f, a) - begin;
            std::size_t earliest = none;
            for (std::size_t i = 0; i < scans.size(); ++i) {
                if (firstField || next[i].start < from) {
                    const int rc = run(scans[i], joined, from);
                    if (rc < 0 && rc != PCRE2_ERROR_NOMATCH)
                        return findEach(texts, f, a, end, found);
                    next[i] = rc < 0 ? Match{none, none} : Match{ovector[0], ovector[1]};
                }
                earliest = std::min(earliest, next[i].start);
            }
            if (earliest == none)
                return;
            a = texts.articleAt(f, begin + std::uint32_t(earliest), a);
            if (a >= end)
                return;
            // Any alternative's match inside the field will do; the others may still reach beyond it.
            const std::size_t fieldEnd = texts.start(f, a + 1) - begin;
            bool proven = false;
            for (const Match& match : next)
                proven = proven || (match.start < fieldEnd && inside(texts, f, a, begin + match.end));
            if (proven || matchesField(texts.field(f, a)))
                found.push_back(a);
            ++a;
        }
    }

    // A top-level alternation as a whole gets at best a set of possible first bytes to seek, where each
    // alternative alone usually has a first byte or a line start that the JIT finds many times faster.
    // Every alternative then scans on its own, as long as at most one of them lacks such a start: that one
    // costs about what the whole did and the others little. An alternative that matches the empty text
    // makes the whole match at every field's start, where the whole finds it at once.
    void splitScan(const std::string& pattern, std::uint32_t options) {
        if (scans.size() != 1 || quickStart(scans.front()))
            return;
        const std::vector<std::string> parts = topLevelAlternatives(pattern);
        std::vector<Code> alternatives;
        bool split = !parts.empty();
        std::size_t slow = 0;
        for (const std::string& alternative : parts) {
            if (!split)
                break;
            alternatives.emplace_back();
            Code& code = alternatives.back();
            std::uint32_t shortest = 0;
            split = compile(code, alternative, options) &&
                    pcre2_pattern_info(code.code, PCRE2_INFO_MINLENGTH, &shortest) == 0 && shortest > 0;
            slow += !quickStart(code);
        }
        if (split && slow <= 1)
            std::swap(scans, alternatives);
        for (const Code& code : alternatives)
            pcre2_code_free(code.code);
    }

    static bool quickStart(const Code& code) {
        std::uint32_t type = 0;
        return code.code && pcre2_pattern_info(code.code, PCRE2_INFO_FIRSTCODETYPE, &type) == 0 && type != 0;
    }

    Path path = Path::Nothing;
    std::array<bool, ArticleTexts::FieldCount> fields{};
    QRegularExpression expression;
    // One subject string for all fields instead of one per field.
    mutable QString subject;
    Code field;
    // The same expression with ^ and $ at every '\n', or each of its alternatives so.
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
    std::string latin1;
    latin1.reserve(std::size_t(pattern.size()));
    for (QChar c : pattern) {
        if (c.unicode() > 0xFF) {
            e.expression.optimize();
            return;
        }
        latin1 += static_cast<char>(c.unicode());
    }
    // Bytes stay bytes: (*UTF) would take them for UTF-8, so such a pattern fails here and goes to
    // QRegularExpression, as do escapes for characters beyond Latin-1.
    std::uint32_t options = PCRE2_UCP | PCRE2_NEVER_UTF;
    if (!caseSensitive)
        options |= PCRE2_CASELESS;
    e.data = pcre2_match_data_create(1, nullptr);
    e.context = pcre2_match_context_create(nullptr);
    if (!e.data || !e.context || !e.compile(e.field, latin1, options)) {
        e.expression.optimize();
        return;
    }
    e.stack = pcre2_jit_stack_create(jitStackStart, jitStackMax, nullptr);
    if (e.stack)
        pcre2_jit_stack_assign(e.context, nullptr, e.stack);
    e.path = Engine::Path::PerField;
    if (!scannable(latin1))
        return;
    e.scans.emplace_back();
    if (!e.compile(e.scans.back(), latin1, options | PCRE2_MULTILINE))
        return;
    e.path = Engine::Path::Scan;
    e.splitScan(latin1, options | PCRE2_MULTILINE);
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
        if (e.path == Engine::Path::Scan)
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
