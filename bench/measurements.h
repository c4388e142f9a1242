#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// What one measuring process is told: a generated catalog directory, a file to dump its searchable texts
// into, optionally an archive of it, and how many runs each figure takes.
struct MeasureRequest {
    QString catalogDirectory;
    QString textsFile;
    QString archive;
    // The same twelve files as the archive holds, each packed with gzip -6, for the reference.
    QString gzipDirectory;
    // The same catalog with its article records in random order: the loader's worst order.
    QString shuffledDirectory;
    int runs = 3;
    // Opens the catalog this many times more, ordering in between, and notes the resident memory after
    // each opening: memory that a new catalog does not give back shows as growth. 0 for none.
    int reopenings = 0;
    // Figures to take (open, openShuffled, searchTenth, searchEvery, patterns, sort, scroll, orders, unpack,
    // reopen); empty for all.
    // For profiling one of them.
    QStringList only;
};

// The two search patterns: one lists about a tenth of the generated articles, "." lists every one.
extern const char* const tenthPattern;
extern const char* const everyPattern;
// Patterns whose matches or failed attempts could run from one field into the next, and some that take the
// slower ways of the search: an inline option field by field, a back-reference through QRegularExpression.
extern const char* const hardPatterns[9];
// Articles put on the order list before the order list and the totals are measured.
constexpr int orderedArticles = 10000;
// The archive holds the four catalog files and, to fill its twelve records, empty files of these names.
constexpr int archiveFillers = 8;
QString archiveFillerName(int n);

// Runs in a fresh process with a QApplication: drives the real main window through its slots and times
// each operation beside its reference command. Returns the raw figures (seconds, rows, kB, bytes).
QJsonObject measureCatalog(const MeasureRequest& request);
