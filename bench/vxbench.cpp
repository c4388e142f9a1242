// vxbench: measures opening, searching, the order list, unpacking and memory on generated catalogs of
// several sizes, each figure beside a reference command timed in the same run on the same data.
//
//   vxbench [--sizes 10000,200000,1000000] [--runs 3] [--data DIR] [--json FILE] [--seed N]
//           [--only FIGURES] [--session-minutes N]
//
// --only limits the figures to some of open, openShuffled, searchTenth, searchEvery, patterns, sort, scroll,
// orders, unpack, reopen and session. The session (a random user session at a human pace, its memory sampled)
// runs only on request, --only session or --session-minutes N (20 minutes unless given), on the
// 200,000-article catalog, or on the largest size given when 200,000 is not among them; --only session
// alone measures that size only.
//
// Every size is measured in a process of its own, so that the memory figures start from a program that has
// loaded nothing big, and the session in one more:
//
//   vxbench --measure CATALOG --texts FILE [--archive FILE --gzipped DIR] [--shuffled DIR] [--runs N]
//           [--reopen N] [--only
//           open,openShuffled,searchTenth,searchEvery,patterns,sort,scroll,orders,unpack,reopen]
//   vxbench --measure CATALOG --random-session MINUTES [--seed N]
//
// prints the raw figures of one catalog as JSON.
#include "catalog/article.h"
#include "measurements.h"
#include "session.h"
#include "tools/archivepacker.h"
#include "tools/cataloggenerator.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

namespace {

struct Options {
    std::vector<std::size_t> sizes = {10000, 200000, 1000000};
    int runs = 3;
    QString data = QStringLiteral("build/bench-data");
    QString json = QStringLiteral("bench/results.json");
    quint64 seed = 1;
    // Figures the measuring processes take; empty for all but the session.
    QStringList only;
    // Minutes of the random session; 0 when it is not asked for.
    double sessionMinutes = 0.0;

    bool wantsFigures() const {
        return only.isEmpty() || std::any_of(only.begin(), only.end(),
                                             [](const QString& f) { return f != QLatin1String("session"); });
    }
};

struct Target {
    const char* key;       // figure in the results
    const char* title;     // what the table calls it
    const char* reference; // what it is compared with
    double limit;          // the ratio must not exceed it
};

void say(const char* format, const QString& text = {}) {
    std::printf(format, qPrintable(text));
    std::fflush(stdout);
}

bool catalogPresent(const QString& directory) {
    for (const char* name : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"})
        if (!QFileInfo::exists(directory + QLatin1Char('/') + QLatin1String(name)))
            return false;
    return true;
}

// The archive of a catalog: its four files and empty fillers in twelve records, all of method 1, packed by
// the project's packer; beside it the same twelve files each packed with gzip -6 for the reference.
bool prepareArchive(const QString& catalog) {
    const QString archive = catalog + QStringLiteral(".arc");
    const QString gzipDirectory = catalog + QStringLiteral(".gz");
    if (QFileInfo::exists(archive) &&
        QFileInfo::exists(gzipDirectory + QLatin1Char('/') + archiveFillerName(archiveFillers) +
                          QStringLiteral(".gz")))
        return true;
    say("packing %s\n", archive);
    std::vector<PackEntry> entries;
    QDir().mkpath(gzipDirectory);
    const auto gzip = [&gzipDirectory](const QString& source, const QString& name) {
        QProcess process;
        process.setStandardInputFile(source);
        process.setStandardOutputFile(gzipDirectory + QLatin1Char('/') + name + QStringLiteral(".gz"));
        process.start(QStringLiteral("gzip"), {QStringLiteral("-6"), QStringLiteral("-c")});
        return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    for (const char* name : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"}) {
        QFile file(catalog + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly) || !gzip(file.fileName(), QLatin1String(name))) {
            say("cannot pack %s\n", file.fileName());
            return false;
        }
        const QByteArray bytes = file.readAll();
        entries.push_back({name, "", 1, std::string(bytes.constData(), std::size_t(bytes.size())), false});
    }
    for (int n = 1; n <= archiveFillers; ++n) {
        if (!gzip(QProcess::nullDevice(), archiveFillerName(n)))
            return false;
        entries.push_back({archiveFillerName(n).toStdString(), "", 1, "", false});
    }
    const std::string packed = packArchive(entries);
    QFile out(archive);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(packed.data(), qint64(packed.size())) != qint64(packed.size())) {
        say("cannot write %s\n", archive);
        return false;
    }
    return true;
}

// The catalog with its article records in random order beside it: a group's records hardly ever follow each
// other, which is the loader's worst order.
bool prepareShuffled(const QString& catalog, quint64 seed) {
    const QString shuffled = catalog + QStringLiteral(".shuffled");
    if (catalogPresent(shuffled))
        return true;
    say("shuffling %s\n", catalog);
    QDir().mkpath(shuffled);
    for (const char* name : {"WGHAUPT", "WGOBER", "WGGRUPPE"}) {
        const QString target = shuffled + QLatin1Char('/') + QLatin1String(name);
        QFile::remove(target);
        if (!QFile::copy(catalog + QLatin1Char('/') + QLatin1String(name), target))
            return false;
    }
    QFile in(catalog + QStringLiteral("/ART"));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    std::vector<std::pair<qsizetype, qsizetype>> records;
    for (qsizetype at = 0; bytes.size() - at >= qsizetype(Article::fixedSize);) {
        const qsizetype size = qsizetype(Article::fixedSize) + 8 * Article::tierCount(data + at);
        if (bytes.size() - at < size)
            break;
        records.emplace_back(at, size);
        at += size;
    }
    std::mt19937_64 random(seed);
    std::shuffle(records.begin(), records.end(), random);
    QByteArray out;
    out.reserve(bytes.size());
    for (const auto& [at, size] : records)
        out.append(bytes.constData() + at, size);
    QFile file(shuffled + QStringLiteral("/ART"));
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

// The catalog size whose memory is followed over many openings, and how many.
constexpr std::size_t reopenedArticles = 200000;
constexpr int reopenings = 30;

QJsonObject runChild(const QStringList& arguments) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(child.readAllStandardOutput()).object();
}

QJsonObject runMeasuringProcess(const QString& catalog, std::size_t articles, const Options& options) {
    QStringList arguments = {
        QStringLiteral("--measure"),  catalog,
        QStringLiteral("--texts"),    catalog + QStringLiteral(".texts"),
        QStringLiteral("--runs"),     QString::number(options.runs),
        QStringLiteral("--archive"),  catalog + QStringLiteral(".arc"),
        QStringLiteral("--gzipped"),  catalog + QStringLiteral(".gz"),
        QStringLiteral("--shuffled"), catalog + QStringLiteral(".shuffled"),
        QStringLiteral("--reopen"),   QString::number(articles == reopenedArticles ? reopenings : 0)};
    if (!options.only.isEmpty())
        arguments << QStringLiteral("--only") << options.only.join(QLatin1Char(','));
    return runChild(arguments);
}

// The session's own process: its memory is that of the session alone, not of the figures before it. (Not
// "--session": QApplication takes that for the desktop's session management.)
QJsonObject runSessionProcess(const QString& catalog, const Options& options) {
    return runChild({QStringLiteral("--measure"), catalog, QStringLiteral("--random-session"),
                     QString::number(options.sessionMinutes), QStringLiteral("--seed"),
                     QString::number(options.seed)});
}

struct PatternSearch {
    double seconds = 0.0;
    int rows = 0;
};

// The searches for the hard patterns, by pattern.
std::map<QString, PatternSearch> patternSearches(const QJsonObject& raw) {
    std::map<QString, PatternSearch> searches;
    for (const QJsonValue& value : raw.value(QStringLiteral("patterns")).toArray()) {
        const QJsonObject search = value.toObject();
        searches[search.value(QStringLiteral("pattern")).toString()] = {
            search.value(QStringLiteral("seconds")).toDouble(), search.value(QStringLiteral("rows")).toInt()};
    }
    return searches;
}

// Ratios of one size: each figure divided by its reference, as the targets compare them.
QJsonObject ratiosOf(const QJsonObject& raw) {
    const auto v = [&raw](const char* key) { return raw.value(QLatin1String(key)).toDouble(); };
    QJsonObject ratios;
    if (raw.contains(QStringLiteral("open")))
        ratios[QStringLiteral("open")] = v("open") / v("md5sum");
    if (raw.contains(QStringLiteral("openShuffled")))
        ratios[QStringLiteral("openShuffled")] = v("openShuffled") / v("md5sumShuffled");
    // A search is rated only when it listed what grep counts.
    if (raw.contains(QStringLiteral("searchTenth")) && v("searchTenthRows") == v("searchTenthGrepCount"))
        ratios[QStringLiteral("searchTenth")] = v("searchTenth") / v("searchTenthGrep");
    // Seconds per 200,000 rows listed, against a tenth of a second.
    if (raw.contains(QStringLiteral("searchEvery")) && v("searchEveryRows") == v("searchEveryGrepCount"))
        ratios[QStringLiteral("searchEvery")] = v("searchEvery") / (0.1 * v("searchEveryRows") / 200000.0);
    if (raw.contains(QStringLiteral("sort")) && v("sortRows") == v("searchEveryGrepCount"))
        ratios[QStringLiteral("sort")] = v("sort") / (0.1 * v("sortRows") / 200000.0);
    // The slowest page against a frame at 60 Hz.
    if (raw.contains(QStringLiteral("scroll")))
        ratios[QStringLiteral("scroll")] = v("scroll") / 0.016;
    if (raw.contains(QStringLiteral("orderList"))) {
        // Seconds of the totals against 5 ms.
        ratios[QStringLiteral("totals")] = v("totals") / 0.005;
        // The order list shows one screen of its rows, within a frame.
        ratios[QStringLiteral("orderList")] = v("orderList") / 0.016;
    }
    if (raw.contains(QStringLiteral("rssDeltaKb")))
        ratios[QStringLiteral("memory")] = v("rssDeltaKb") * 1024.0 / v("catalogBytes");
    // The resident memory after the last opening against that after the second (the first still grows the
    // allocator's pools).
    const QJsonArray rss = raw.value(QStringLiteral("reopenRssKb")).toArray();
    if (rss.size() >= 2)
        ratios[QStringLiteral("reopen")] = rss.last().toDouble() / rss.at(1).toDouble();
    // The resident memory at the end of the session's last quarter against that at the end of its second:
    // the first quarter still fills the allocator's pools and the caches that are meant to stay.
    const QJsonArray quarters = raw.value(QStringLiteral("sessionRssKb")).toArray();
    if (quarters.size() == 4)
        ratios[QStringLiteral("session")] = quarters.at(3).toDouble() / quarters.at(1).toDouble();
    // Each hard pattern against a tenth of a second per 200,000 articles: half a second at 1,000,000.
    for (const auto& [pattern, search] : patternSearches(raw))
        ratios[QStringLiteral("search ") + pattern] = search.seconds / (0.1 * v("articles") / 200000.0);
    if (raw.contains(QStringLiteral("unpack")) && raw.value(QStringLiteral("unpackVerified")).toBool())
        ratios[QStringLiteral("unpack")] = v("unpack") / v("gunzip");
    return ratios;
}

const Target targets[] = {
    {"open", "open catalog", "md5sum of the 4 files", 1.2},
    {"openShuffled", "open, records shuffled", "md5sum of the 4 files", 3.0},
    {"searchTenth", "search ~10 %", "grep -E -i -c, same texts", 3.0},
    {"searchEvery", "search \".\" (all rows)", "0.1 s per 200,000 rows", 1.0},
    {"sort", "sort \".\" by Preis", "0.1 s per 200,000 rows", 1.0},
    {"scroll", "scroll \".\", slowest page", "16 ms", 1.0},
    {"orderList", "order list (10,000)", "16 ms", 1.0},
    {"totals", "order totals", "s per 5 ms", 1.0},
    {"unpack", "unpack archive", "gzip -d, same content", 3.0},
    {"memory", "memory after loading", "size of the 4 files", 1.3},
    {"reopen", "memory, 30 openings", "after the 2nd opening", 1.05},
    {"session", "memory, random session", "end of the 2nd quarter", 1.05},
};

// Seconds (or kB) of the figure itself and of its reference, for the table.
QString figures(const QJsonObject& raw, const char* key) {
    const auto v = [&raw](const char* k) { return raw.value(QLatin1String(k)).toDouble(); };
    const auto ms = [](double s) { return QString::number(s * 1000.0, 'f', 1) + QStringLiteral(" ms"); };
    const QString k = QLatin1String(key);
    if (k == QLatin1String("open"))
        return ms(v("open")) + QStringLiteral(" / ") + ms(v("md5sum"));
    if (k == QLatin1String("openShuffled"))
        return ms(v("openShuffled")) + QStringLiteral(" / ") + ms(v("md5sumShuffled"));
    if (k == QLatin1String("searchTenth"))
        return ms(v("searchTenth")) + QStringLiteral(" / ") + ms(v("searchTenthGrep")) +
               QStringLiteral(" first %1").arg(ms(v("searchTenthFirst"))) +
               QStringLiteral(" (%1 rows, grep %2)").arg(v("searchTenthRows")).arg(v("searchTenthGrepCount"));
    if (k == QLatin1String("searchEvery"))
        return ms(v("searchEvery")) + QStringLiteral(" (%1 rows, first %2)")
                                          .arg(v("searchEveryRows"))
                                          .arg(ms(v("searchEveryFirst")));
    if (k == QLatin1String("sort"))
        return ms(v("sort")) +
               QStringLiteral(" (%1 rows, first %2)").arg(v("sortRows")).arg(ms(v("sortFirst")));
    if (k == QLatin1String("scroll"))
        return ms(v("scroll")) +
               QStringLiteral(" (%1 pages, %2 s)").arg(v("scrollPages")).arg(v("scrollTotal"), 0, 'f', 1);
    if (k == QLatin1String("orderList"))
        return ms(v("orderList")) + QStringLiteral(" (%1 rows)").arg(v("orderListRows"));
    if (k == QLatin1String("totals"))
        return ms(v("totals")) + QStringLiteral(" (count %1)").arg(v("orderCount"));
    if (k == QLatin1String("unpack"))
        return ms(v("unpack")) + QStringLiteral(" / ") + ms(v("gunzip"));
    if (k == QLatin1String("memory"))
        return QStringLiteral("%1 MB (peak %2 MB) / %3 MB")
            .arg(v("rssDeltaKb") / 1024.0, 0, 'f', 1)
            .arg(v("hwmDeltaKb") / 1024.0, 0, 'f', 1)
            .arg(v("catalogBytes") / 1048576.0, 0, 'f', 1);
    if (k == QLatin1String("reopen")) {
        const QJsonArray rss = raw.value(QStringLiteral("reopenRssKb")).toArray();
        const auto mb = [&rss](qsizetype i) {
            return QString::number(rss.at(i).toDouble() / 1024.0, 'f', 1);
        };
        return rss.size() < 2
                   ? QString()
                   : QStringLiteral("1st %1, 2nd %2, last %3 MB").arg(mb(0), mb(1), mb(rss.size() - 1));
    }
    if (k == QLatin1String("session")) {
        const QJsonArray rss = raw.value(QStringLiteral("sessionRssKb")).toArray();
        const QJsonArray heap = raw.value(QStringLiteral("sessionHeapKb")).toArray();
        const auto mb = [](const QJsonArray& kb, qsizetype i) {
            return QString::number(kb.at(i).toDouble() / 1024.0, 'f', 1);
        };
        if (rss.size() != 4 || heap.size() != 4)
            return {};
        // Resident, then malloc's bytes in use, each at the end of the 2nd and of the 4th quarter.
        QString text = QStringLiteral("%1 min: %2 -> %3 MB, heap %4 -> %5")
                           .arg(v("session"))
                           .arg(mb(rss, 1), mb(rss, 3), mb(heap, 1), mb(heap, 3));
        if (v("sessionStuckDialogs") > 0)
            text += QStringLiteral(", %1 dialogs stuck").arg(v("sessionStuckDialogs"));
        return text;
    }
    return {};
}

int drive(const Options& options) {
    QDir().mkpath(options.data);
    QJsonArray sizes;
    std::vector<QJsonObject> raws, ratios;
    // The sizes measured, in the order of raws.
    std::vector<std::size_t> measuredSizes;
    const std::size_t sessionArticles =
        std::count(options.sizes.begin(), options.sizes.end(), reopenedArticles) > 0 || options.sizes.empty()
            ? reopenedArticles
            : *std::max_element(options.sizes.begin(), options.sizes.end());
    for (std::size_t articles : options.sizes) {
        const bool session = options.sessionMinutes > 0.0 && articles == sessionArticles;
        if (!options.wantsFigures() && !session)
            continue;
        const QString catalog =
            QDir(options.data).absoluteFilePath(QStringLiteral("catalog-%1").arg(articles));
        if (!catalogPresent(catalog)) {
            say("generating %s\n", catalog);
            std::string error;
            if (!generateCatalog(QFile::encodeName(catalog).toStdString(), articles, options.seed, nullptr,
                                 &error)) {
                say("cannot generate the catalog: %s\n", QString::fromStdString(error));
                return 1;
            }
        }
        QJsonObject raw;
        if (options.wantsFigures()) {
            if (!prepareArchive(catalog) || !prepareShuffled(catalog, options.seed))
                return 1;
            say("measuring %s\n", catalog);
            raw = runMeasuringProcess(catalog, articles, options);
            if (raw.isEmpty()) {
                say("the measuring process for %s failed\n", catalog);
                return 1;
            }
        }
        if (session) {
            say("random session of %s minutes\n", QString::number(options.sessionMinutes));
            const QJsonObject figures = runSessionProcess(catalog, options);
            if (figures.isEmpty()) {
                say("the session on %s failed\n", catalog);
                return 1;
            }
            for (auto it = figures.begin(); it != figures.end(); ++it)
                raw[it.key()] = it.value();
        }
        measuredSizes.push_back(articles);
        raws.push_back(raw);
        ratios.push_back(ratiosOf(raw));
        QJsonObject entry;
        entry[QStringLiteral("articles")] = double(articles);
        entry[QStringLiteral("figures")] = raw;
        entry[QStringLiteral("ratios")] = ratios.back();
        sizes.append(entry);
    }

    bool allMet = true;
    std::printf("\n%-9s  %-24s %-48s %-30s %7s %6s\n", "articles", "operation", "figure / reference",
                "reference", "ratio", "target");
    for (std::size_t i = 0; i < raws.size(); ++i) {
        for (const Target& t : targets) {
            const bool measured =
                raws[i].contains(QLatin1String(t.key)) || (QLatin1String(t.key) == QLatin1String("memory") &&
                                                           raws[i].contains(QLatin1String("rssDeltaKb")));
            if (!measured)
                continue;
            if (!ratios[i].contains(QLatin1String(t.key))) {
                allMet = false;
                std::printf("%-9zu  %-24s %-48s %-30s %14s\n", measuredSizes[i], t.title,
                            qPrintable(figures(raws[i], t.key)), t.reference, "wrong result");
                continue;
            }
            const double ratio = ratios[i].value(QLatin1String(t.key)).toDouble();
            const bool met = ratio <= t.limit;
            allMet = allMet && met;
            std::printf("%-9zu  %-24s %-48s %-30s %7.2f %s%5.2f\n", measuredSizes[i], t.title,
                        qPrintable(figures(raws[i], t.key)), t.reference, ratio, met ? "<=" : "> ", t.limit);
        }
        for (const auto& [pattern, search] : patternSearches(raws[i])) {
            const double ratio = ratios[i].value(QStringLiteral("search ") + pattern).toDouble();
            allMet = allMet && ratio <= 1.0;
            std::printf("%-9zu  search %-17s %-48s %-30s %7.2f %s%5.1f\n", measuredSizes[i],
                        qPrintable(pattern),
                        qPrintable(QStringLiteral("%1 ms (%2 rows)")
                                       .arg(search.seconds * 1000.0, 0, 'f', 1)
                                       .arg(search.rows)),
                        "0.1 s per 200,000 articles", ratio, ratio <= 1.0 ? "<=" : "> ", 1.0);
        }
        std::printf("\n");
    }

    // Growth from each size to the next: time per article of the larger over that of the smaller.
    QJsonArray growth;
    for (std::size_t i = 1; i < raws.size(); ++i) {
        QJsonObject step;
        step[QStringLiteral("from")] = double(measuredSizes[i - 1]);
        step[QStringLiteral("to")] = double(measuredSizes[i]);
        const double scale = double(measuredSizes[i]) / double(measuredSizes[i - 1]);
        for (const char* key : {"open", "openShuffled", "searchTenth", "searchEvery", "sort", "scroll",
                                "orderList", "totals", "unpack", "rssDeltaKb"}) {
            if (!raws[i].contains(QLatin1String(key)))
                continue;
            const double perArticle = raws[i].value(QLatin1String(key)).toDouble() /
                                      raws[i - 1].value(QLatin1String(key)).toDouble() / scale;
            step[QLatin1String(key)] = perArticle;
            // Only the step from 200,000 to 1,000,000 has a target.
            const bool judged = measuredSizes[i - 1] == 200000 && measuredSizes[i] == 1000000;
            if (judged)
                allMet = allMet && perArticle <= 1.3;
            std::printf("growth %zu -> %zu  %-12s per article x %.2f%s\n", measuredSizes[i - 1],
                        measuredSizes[i], key, perArticle,
                        judged ? (perArticle <= 1.3 ? "  (<= 1.3)" : "  (> 1.3)") : "");
        }
        const std::map<QString, PatternSearch> before = patternSearches(raws[i - 1]);
        for (const auto& [pattern, search] : patternSearches(raws[i])) {
            if (before.count(pattern) == 0)
                continue;
            const double perArticle = search.seconds / before.at(pattern).seconds / scale;
            step[QStringLiteral("search ") + pattern] = perArticle;
            const bool judged = measuredSizes[i - 1] == 200000 && measuredSizes[i] == 1000000;
            if (judged)
                allMet = allMet && perArticle <= 1.3;
            std::printf("growth %zu -> %zu  %-12s per article x %.2f%s\n", measuredSizes[i - 1],
                        measuredSizes[i], qPrintable(pattern), perArticle,
                        judged ? (perArticle <= 1.3 ? "  (<= 1.3)" : "  (> 1.3)") : "");
        }
        growth.append(step);
    }

    QJsonObject results;
    results[QStringLiteral("runs")] = options.runs;
    results[QStringLiteral("sizes")] = sizes;
    results[QStringLiteral("growth")] = growth;
    results[QStringLiteral("allTargetsMet")] = allMet;
    QFile out(options.json);
    if (out.open(QIODevice::WriteOnly))
        out.write(QJsonDocument(results).toJson());
    std::printf("\n%s; figures and ratios in %s\n", allMet ? "all targets met" : "some targets missed",
                qPrintable(options.json));
    return 0;
}

int measure(int argc, char* argv[]) {
    QApplication app(argc, argv);
    MeasureRequest request;
    SessionRequest session;
    session.minutes = 0.0;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--measure"))
            request.catalogDirectory = session.catalogDirectory = args[++i];
        else if (args[i] == QLatin1String("--random-session"))
            session.minutes = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seed"))
            session.seed = args[++i].toULongLong();
        else if (args[i] == QLatin1String("--texts"))
            request.textsFile = args[++i];
        else if (args[i] == QLatin1String("--archive"))
            request.archive = args[++i];
        else if (args[i] == QLatin1String("--gzipped"))
            request.gzipDirectory = args[++i];
        else if (args[i] == QLatin1String("--shuffled"))
            request.shuffledDirectory = args[++i];
        else if (args[i] == QLatin1String("--runs"))
            request.runs = args[++i].toInt();
        else if (args[i] == QLatin1String("--reopen"))
            request.reopenings = args[++i].toInt();
        else if (args[i] == QLatin1String("--only"))
            request.only = args[++i].split(QLatin1Char(','));
    }
    const QJsonObject result = session.minutes > 0.0 ? measureSession(session) : measureCatalog(request);
    std::printf("%s\n", QJsonDocument(result).toJson(QJsonDocument::Compact).constData());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "--measure")
            return measure(argc, argv);

    QCoreApplication app(argc, argv);
    Options options;
    const QStringList args = QCoreApplication::arguments();
    bool sizesGiven = false;
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--sizes") && hasValue) {
            sizesGiven = true;
            options.sizes.clear();
            for (const QString& size : args[++i].split(QLatin1Char(',')))
                options.sizes.push_back(std::size_t(size.toULongLong()));
        } else if (args[i] == QLatin1String("--runs") && hasValue) {
            options.runs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--data") && hasValue) {
            options.data = args[++i];
        } else if (args[i] == QLatin1String("--json") && hasValue) {
            options.json = args[++i];
        } else if (args[i] == QLatin1String("--seed") && hasValue) {
            options.seed = args[++i].toULongLong();
        } else if (args[i] == QLatin1String("--only") && hasValue) {
            options.only = args[++i].split(QLatin1Char(','));
        } else if (args[i] == QLatin1String("--session-minutes") && hasValue) {
            options.sessionMinutes = args[++i].toDouble();
        } else {
            std::fprintf(
                stderr,
                "usage: vxbench [--sizes 10000,200000,1000000] [--runs 3] [--data DIR] [--json FILE] "
                "[--seed N]\n"
                "               [--only "
                "open,openShuffled,searchTenth,searchEvery,patterns,sort,scroll,orders,unpack,"
                "reopen,session]\n"
                "               [--session-minutes N]\n"
                "The random session runs only on request (--only session or --session-minutes N; "
                "20 minutes by default)\n"
                "on the 200,000-article catalog, or on the largest size when 200,000 is not given.\n");
            return 2;
        }
    }
    if (options.only.contains(QLatin1String("session")) && options.sessionMinutes <= 0.0)
        options.sessionMinutes = 20.0;
    // Asked for the session alone, only its catalog is measured.
    if (!options.wantsFigures() && !sizesGiven)
        options.sizes = {reopenedArticles};
    return drive(options);
}
