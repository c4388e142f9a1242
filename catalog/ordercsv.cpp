#include "catalog/ordercsv.h"

#include "catalog/latin1.h"
#include "catalog/orderindex.h"

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {
constexpr char byteOrderMark[] = "\xEF\xBB\xBF";

QStringList columnNames() {
    return {QStringLiteral("Gruppe"),      QStringLiteral("Artikel"), QStringLiteral("Beschreibung"),
            QStringLiteral("Menge (VPE)"), QStringLiteral("VPE"),     QString::fromUtf8("Stück"),
            QStringLiteral("Netto"),       QStringLiteral("Brutto")};
}
enum Column { Group, Name, Description, Units, PackingUnit };

// A group key is five bytes in the file; a key padded with NUL bytes ends at the first.
std::string_view shownKey(const std::string& key) {
    return std::string_view(key).substr(0, key.find('\0'));
}

void appendField(QByteArray& out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const bool quoted = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return c == ';' || c == '"' || uchar(c) < 0x20 || uchar(c) == 0x7f;
    });
    if (!quoted) {
        out += bytes;
        return;
    }
    out += '"';
    for (const char c : bytes)
        out.append(c == '"' ? QByteArrayView("\"\"") : QByteArrayView(&c, 1));
    out += '"';
}

void appendRow(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ';';
        appendField(out, fields[i]);
    }
    out += "\r\n";
}

// German spreadsheets read a decimal point as a date or a thousands separator.
QString money(double amount) {
    return QString::number(amount, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool isValidUtf8(QByteArrayView data) {
    for (qsizetype i = 0; i < data.size();) {
        const auto lead = uchar(data[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const int more = (lead & 0xE0) == 0xC0   ? 1
                         : (lead & 0xF0) == 0xE0 ? 2
                         : (lead & 0xF8) == 0xF0 ? 3
                                                 : 0;
        if (more == 0 || data.size() - i <= more)
            return false;
        std::uint32_t code = lead & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            const auto next = uchar(data[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

QString fromWindows1252(QByteArrayView bytes) {
    // 0x80 to 0x9F; the five bytes Windows leaves undefined keep their Latin-1 meaning.
    static const char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = uchar(bytes[i]);
        text[i] = QChar(c >= 0x80 && c < 0xA0 ? high[c - 0x80] : char16_t(c));
    }
    return text;
}

// Splits the record starting at pos into fields and moves pos past its line end (CRLF, LF or CR outside
// quotes); line counts the line feeds passed. Quotes open a field only at its start; after the closing quote
// the rest of the field is taken as it stands, as spreadsheets do.
OrderCsv::Status splitRecord(QByteArrayView data, qsizetype& pos, char separator,
                             std::vector<QByteArray>& fields, int& line) {
    fields.assign(1, QByteArray());
    const qsizetype start = pos;
    bool quoted = false, fieldStart = true;
    while (pos < data.size()) {
        if (pos - start >= OrderCsv::maxRowSize)
            return OrderCsv::LineTooLong;
        const char c = data[pos++];
        if (c == '\n')
            ++line;
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (pos < data.size() && data[pos] == '"')
                fields.back() += data[pos++];
            else
                quoted = false;
        } else if (c == '"' && fieldStart) {
            quoted = true;
        } else if (c == separator) {
            fields.emplace_back();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && pos < data.size() && data[pos] == '\n') {
                ++pos;
                ++line;
            } else if (c == '\r') {
                ++line;
            }
            return OrderCsv::Ok;
        } else {
            fields.back() += c;
        }
        fieldStart = c == separator;
    }
    return quoted ? OrderCsv::OpenQuote : OrderCsv::Ok;
}

// Latin-1 bytes of text; false when a character lies beyond Latin-1 (no catalog text can equal it).
bool toLatin1(const QString& text, std::string& out) {
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return false;
    out = text.toLatin1().toStdString();
    return true;
}

// Length-prefixed, so that no choice of texts makes two different field lists equal.
void appendKeyField(std::string& key, std::string_view text) {
    const auto size = std::uint32_t(text.size());
    key.append(reinterpret_cast<const char*>(&size), sizeof size);
    key.append(text);
}
} // namespace

QByteArray orderListCsv(const std::vector<FoundArticle>& ordered) {
    QByteArray out(byteOrderMark);
    appendRow(out, columnNames());
    for (const FoundArticle& found : ordered) {
        const Article& article = *found.article;
        double net = 0.0, gross = 0.0;
        article.orderPrice(net, gross);
        appendRow(out, {fromLatin1(shownKey(article.groupKey)), fromLatin1(article.name),
                        fromLatin1(article.description), QString::number(article.orderedUnits),
                        QString::number(article.packingUnit),
                        QString::number(qint64(article.orderedUnits) * article.packingUnit), money(net),
                        money(gross)});
    }
    return out;
}

OrderCsv parseOrderCsv(const QByteArray& bytes) {
    OrderCsv result;
    const auto fail = [&result](OrderCsv::Status status, int line = 0) {
        result.status = status;
        result.line = line;
        result.rows.clear();
        return result;
    };
    if (bytes.size() > OrderCsv::maxFileSize)
        return fail(OrderCsv::TooLarge);
    if (bytes.contains('\0'))
        return fail(OrderCsv::NotText);
    QByteArrayView data(bytes);
    bool utf8 = data.startsWith(byteOrderMark);
    if (utf8)
        data = data.sliced(3);
    else
        utf8 = isValidUtf8(data);
    const auto decode = [utf8](QByteArrayView field) {
        return utf8 ? QString::fromUtf8(field) : fromWindows1252(field);
    };

    // The header decides the separator: the one under which it holds the needed columns.
    const QStringList names = columnNames();
    std::vector<QByteArray> fields;
    int columns[5] = {};
    char separator = 0;
    qsizetype pos = 0;
    int line = 1;
    for (const char candidate : {';', ','}) {
        pos = 0;
        line = 1;
        if (const OrderCsv::Status split = splitRecord(data, pos, candidate, fields, line);
            split != OrderCsv::Ok)
            return fail(split, 1);
        result.missing.clear();
        for (int column : {Group, Name, Units, Description, PackingUnit}) {
            columns[column] = -1;
            for (int i = int(fields.size()) - 1; i >= 0; --i)
                if (decode(fields[std::size_t(i)]).trimmed().compare(names[column], Qt::CaseInsensitive) == 0)
                    columns[column] = i;
            if (columns[column] < 0 && column != Description && column != PackingUnit)
                result.missing << names[column];
        }
        if (result.missing.isEmpty()) {
            separator = candidate;
            break;
        }
    }
    if (!separator)
        return fail(OrderCsv::MissingColumns);
    result.hasDescription = columns[Description] >= 0;
    result.hasPackingUnit = columns[PackingUnit] >= 0;

    while (pos < data.size()) {
        const int rowLine = line;
        if (const OrderCsv::Status split = splitRecord(data, pos, separator, fields, line);
            split != OrderCsv::Ok)
            return fail(split, rowLine);
        // Spreadsheets end a sheet with empty rows.
        if (std::all_of(fields.begin(), fields.end(), [](const QByteArray& f) { return f.isEmpty(); }))
            continue;
        if (result.rows.size() >= std::size_t(OrderCsv::maxRows))
            return fail(OrderCsv::TooManyRows, rowLine);
        const auto field = [&](Column column) {
            const int i = columns[column];
            return i >= 0 && std::size_t(i) < fields.size() ? decode(fields[std::size_t(i)]) : QString();
        };
        result.rows.push_back(
            {rowLine, field(Group), field(Name), field(Description), field(PackingUnit), field(Units)});
    }
    return result;
}

OrderCsv readOrderCsvFile(const QString& path) {
    OrderCsv failed;
    failed.status = OrderCsv::Unreadable;
    // Opened without blocking, so that a FIFO is refused instead of waiting for a writer, and checked on the
    // open descriptor, so that nothing can swap the file in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed;
    struct stat info {};
    const bool statted = ::fstat(fd, &info) == 0;
    if (!statted || !S_ISREG(info.st_mode) || info.st_size > OrderCsv::maxFileSize) {
        if (statted)
            failed.status = S_ISREG(info.st_mode) ? OrderCsv::TooLarge : OrderCsv::NotAFile;
        ::close(fd);
        return failed;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed;
    }
    // Read to its end in pieces, so that only what the file holds is allocated, and never more than one byte
    // beyond the limit, which tells a file that grew since it was looked at.
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size) + 1);
    char piece[1 << 16];
    for (qint64 got = 0; bytes.size() <= OrderCsv::maxFileSize && (got = file.read(piece, sizeof piece)) > 0;)
        bytes.append(piece, qsizetype(got));
    if (file.error() != QFileDevice::NoError)
        return failed;
    return parseOrderCsv(bytes);
}

OrderCsvMatch matchOrderCsv(const Catalog& catalog, const OrderCsv& file) {
    struct Candidates {
        std::vector<IndexPath> paths; // equal articles in catalog order
        std::size_t taken = 0;
    };
    std::unordered_map<std::string, Candidates> byKey;
    const auto appendKey = [&file](std::string& key, std::string_view group, std::string_view name,
                                   std::string_view description, int packingUnit) {
        key.clear();
        appendKeyField(key, group);
        appendKeyField(key, name);
        if (file.hasDescription)
            appendKeyField(key, description);
        if (file.hasPackingUnit)
            appendKeyField(key, std::to_string(packingUnit));
    };

    // Empty where the row's texts cannot name any article.
    std::vector<std::string> rowKeys(file.rows.size());
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const OrderCsvRow& row = file.rows[i];
        std::string group, name, description;
        bool ok = true;
        const int packingUnit = file.hasPackingUnit ? row.packingUnit.trimmed().toInt(&ok) : 0;
        if (ok && toLatin1(row.group, group) && toLatin1(row.name, name) &&
            toLatin1(row.description, description)) {
            appendKey(rowKeys[i], group, name, description, packingUnit);
            byKey.try_emplace(rowKeys[i]);
        }
    }
    std::string key;
    for (unsigned c = 0; c < catalog.size() && !byKey.empty(); ++c)
        for (unsigned s = 0; s < catalog[c].subCategories.size(); ++s)
            for (unsigned ss = 0; ss < catalog[c].subCategories[s].subSubCategories.size(); ++ss) {
                const std::vector<Article>& articles =
                    catalog[c].subCategories[s].subSubCategories[ss].articles;
                for (unsigned a = 0; a < articles.size(); ++a) {
                    const Article& article = articles[a];
                    appendKey(key, shownKey(article.groupKey), article.name, article.description,
                              article.packingUnit);
                    if (const auto at = byKey.find(key); at != byKey.end())
                        at->second.paths.push_back({c, s, ss, a});
                }
            }

    OrderCsvMatch match;
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const OrderCsvRow& row = file.rows[i];
        const Article* article = nullptr;
        IndexPath path;
        if (!rowKeys[i].empty()) {
            Candidates& candidates = byKey[rowKeys[i]];
            if (candidates.taken < candidates.paths.size()) {
                path = candidates.paths[candidates.taken++];
                article = articleAt(catalog, path);
            }
        }
        bool ok = false;
        const int units = row.units.trimmed().toInt(&ok);
        // 0 would take an order back: the order dialog is the place for that, not a file.
        if (article && ok && units > 0 && article->acceptsOrderedUnits(units))
            match.orders.emplace_back(path, units);
        else
            match.refused.emplace_back(row.line, row.name);
    }
    return match;
}
