#pragma once

#include "catalog/category.h"
#include "catalog/indexpath.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The order list as a CSV file for spreadsheets and for loading it again: a header row
//   Gruppe;Artikel;Beschreibung;Menge (VPE);VPE;Stück;Netto;Brutto
// then one row per ordered article. Written as UTF-8 with a byte-order mark, CRLF line ends, a decimal comma
// in the money columns and RFC 4180 quoting; read back also after a spreadsheet saved it again.

// The file for the ordered articles, in the order given (the order list's, catalog order).
QByteArray orderListCsv(const std::vector<FoundArticle>& ordered);

// What a file yields before it meets a catalog. Each row keeps the texts of the columns the file has.
struct OrderCsvRow {
    int line = 0; // where the row starts in the file, the header being line 1
    QString group, name, description, packingUnit, units;
};

struct OrderCsv {
    enum Status {
        Ok,
        Unreadable,     // missing, unreadable
        NotAFile,       // a directory, a FIFO, a device
        TooLarge,       // beyond maxFileSize
        NotText,        // NUL bytes: no spreadsheet writes them
        LineTooLong,    // a row beyond maxRowSize bytes (line tells which)
        OpenQuote,      // a quote still open at the end of the file (line tells where it opened)
        TooManyRows,    // beyond maxRows
        MissingColumns, // the header lacks a needed column (missing names them)
    };
    static constexpr qint64 maxFileSize = qint64(64) << 20;
    static constexpr int maxRowSize = 64 * 1024;
    static constexpr int maxRows = 200000;

    Status status = Ok;
    int line = 0;
    QStringList missing;
    bool hasDescription = false;
    bool hasPackingUnit = false;
    std::vector<OrderCsvRow> rows;
};

// Reads the bytes of a file: separator ';' or ',' (whichever the header uses), with or without byte-order
// mark (without, UTF-8 where valid, else Windows-1252), CRLF or LF, quoted or not, columns by header name.
OrderCsv parseOrderCsv(const QByteArray& bytes);
// Reads the file at path (a name as the file dialog gives it) without ever blocking on a FIFO.
OrderCsv readOrderCsvFile(const QString& path);

// The rows matched to the articles of catalog, with the units the order dialog would accept.
struct OrderCsvMatch {
    std::vector<std::pair<IndexPath, int>> orders; // path and ordered units, in file order
    std::vector<std::pair<int, QString>> refused;  // line and article name of each row not taken
};
// A row names the article of its group key, name and, where the file has them, description and packing unit;
// of several equal articles the n-th equal row takes the n-th in catalog order.
OrderCsvMatch matchOrderCsv(const Catalog& catalog, const OrderCsv& file);
