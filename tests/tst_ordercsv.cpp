// The order list's CSV file: what the export writes is read back to the same orders, also after a spreadsheet
// saved it again in its own way; hostile files end in a status, never in a hang or a half-read list.
#include "catalog/articleindex.h"
#include "catalog/articletexts.h"
#include "catalog/catalogloader.h"
#include "catalog/ordercsv.h"
#include "catalog/orderindex.h"
#include "support/filebytes.h"
#include "tools/cataloggenerator.h"

#include <QtTest>

#include <random>
#include <sys/stat.h>

namespace {
// A spreadsheet's way to save rows again: separator, line end, byte-order mark, Windows-1252, column order,
// quotes around every field or only where needed, an extra column.
QByteArray resave(const std::vector<OrderCsvRow>& rows, std::mt19937_64& random) {
    const char separator = random() % 2 ? ',' : ';';
    const QByteArray newline = random() % 2 ? "\n" : "\r\n";
    const bool utf8 = random() % 2, quoteAll = random() % 2;
    QStringList names = {"Gruppe", "Artikel", "Menge (VPE)", "Bemerkung", "Beschreibung", "VPE"};
    std::shuffle(names.begin(), names.end(), random);
    const auto field = [&](const QString& text) {
        QByteArray bytes = utf8 ? text.toUtf8() : text.toLatin1();
        if (quoteAll || bytes.contains(separator) || bytes.contains('"') || bytes.contains('\n'))
            bytes = '"' + bytes.replace('"', "\"\"") + '"';
        return bytes;
    };
    QByteArray out = utf8 && random() % 2 ? "\xEF\xBB\xBF" : "";
    for (int r = -1; r < int(rows.size()); ++r) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            const OrderCsvRow* row = r < 0 ? nullptr : &rows[std::size_t(r)];
            const QString& name = names[i];
            out += (i ? QByteArray(1, separator) : QByteArray()) +
                   field(!row                     ? name
                         : name == "Gruppe"       ? row->group
                         : name == "Artikel"      ? row->name
                         : name == "Menge (VPE)"  ? row->units
                         : name == "Beschreibung" ? row->description
                         : name == "VPE"          ? row->packingUnit
                                                  : QStringLiteral("egal; \"wirklich\""));
        }
        out += newline;
    }
    return out;
}
} // namespace

class tst_OrderCsv : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    Catalog catalog;

private slots:
    // A generated catalog, its first group joined by articles with separators, quotes, control bytes and
    // umlauts in their texts, two equal twins and one without a price scale.
    void initTestCase() {
        QVERIFY(generateCatalog(QFile::encodeName(temp.path()).toStdString(), 300, 5));
        QCOMPARE(CatalogLoader(catalog).loadDirectory(QFile::encodeName(temp.path()).toStdString()),
                 CatalogLoader::Status::Complete);
        std::vector<Article>& group = catalog[0].subCategories[0].subSubCategories[0].articles;
        Article odd = group.front();
        for (const char* name :
             {"a;b \"c\"", "Zwilling", "Zwilling", "\x01Steuer\x7f,zeichen", "K\xFChler"}) {
            odd.name = odd.description = name;
            group.push_back(odd);
        }
        group.back().priceTiers.clear();
        keepTextsOnce(catalog);
    }

    // Random orders and refused rows (0, below the first tier, no number, no price scale) in catalog order:
    // the export reads back to the articles' own texts, and every re-save of it orders exactly the ordered
    // articles and refuses exactly the bad rows.
    void roundTrip() {
        ArticleIndex index;
        index.build(catalog);
        for (std::uint64_t seed = 1; seed <= 30; ++seed) {
            std::mt19937_64 random(seed);
            Catalog orders = catalog;
            std::vector<FoundArticle> found;
            std::vector<std::pair<IndexPath, int>> expected;
            std::vector<std::pair<IndexPath, QString>> planned; // the units of a bad row, null for an order
            for (std::uint32_t n = 0; n < index.size(); ++n) {
                const IndexPath path = index.path(n);
                const Article& article = index.article(n);
                const int first = article.priceTiers.empty() ? 1 : article.priceTiers[0].quantity;
                const int dice = int(random() % 10);
                if (dice < 3 && !article.priceTiers.empty()) {
                    expected.emplace_back(path, first + int(random() % 3));
                    orders[path.c].setOrderedUnits(path.s, path.ss, path.a, expected.back().second);
                    found.push_back({articleAt(orders, path), path});
                    planned.emplace_back(path, QString());
                } else if (dice == 3 && (first > 1 || article.priceTiers.empty())) {
                    planned.emplace_back(path, QString::number(first - 1));
                } else if (dice == 4) {
                    planned.emplace_back(path, random() % 2 ? "0" : "zwei");
                }
            }
            const OrderCsv exported = parseOrderCsv(orderListCsv(found));
            QCOMPARE(exported.rows.size(), found.size());
            // In catalog order, the bad rows among the exported ones, and numbered as lines.
            std::vector<OrderCsvRow> rows;
            QList<int> refused;
            for (const auto& [path, badUnits] : planned) {
                const Article& article = *articleAt(orders, path);
                const OrderCsvRow own{0,
                                      QString::fromLatin1(article.groupKey.c_str()),
                                      QString::fromLatin1(article.name),
                                      QString::fromLatin1(article.description),
                                      QString::number(article.packingUnit),
                                      badUnits.isNull() ? QString::number(article.orderedUnits) : badUnits};
                if (badUnits.isNull()) {
                    const OrderCsvRow& row = exported.rows[rows.size() - std::size_t(refused.size())];
                    QCOMPARE(QStringList({row.group, row.name, row.description, row.packingUnit, row.units}),
                             QStringList({own.group, own.name, own.description, own.packingUnit, own.units}));
                }
                rows.push_back(own);
                if (!badUnits.isNull())
                    refused << int(rows.size()) + 1;
            }
            const OrderCsv again = parseOrderCsv(resave(rows, random));
            QCOMPARE(again.status, OrderCsv::Ok);
            const OrderCsvMatch match = matchOrderCsv(catalog, again);
            QList<int> refusedLines;
            for (const auto& [line, name] : match.refused)
                refusedLines << line;
            QCOMPARE(refusedLines, refused);
            // Equal twins cannot be told apart: the n-th ordered one may come back as the n-th of them.
            const auto shown = [this](const std::vector<std::pair<IndexPath, int>>& orders) {
                QStringList texts;
                for (const auto& [path, units] : orders)
                    texts << QString::fromLatin1(articleAt(catalog, path)->name) + QString::number(path.c) +
                                 QString::number(path.s) + QString::number(path.ss) + "|" +
                                 QString::number(units);
                return texts;
            };
            QCOMPARE(shown(match.orders), shown(expected));
        }
    }

    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("line");
        const QByteArray header = "Gruppe;Artikel;Menge (VPE)\r\n";
        QTest::newRow("empty") << QByteArray() << int(OrderCsv::MissingColumns) << 0;
        QTest::newRow("no units column")
            << QByteArray("Gruppe,Artikel;Menge\n") << int(OrderCsv::MissingColumns) << 0;
        QTest::newRow("binary") << header + QByteArray("\x00\x01\x02", 3) << int(OrderCsv::NotText) << 0;
        QTest::newRow("open quote") << header + "A;\"x\n\ny;1\r\n" << int(OrderCsv::OpenQuote) << 2;
        QTest::newRow("long line") << header + "A;x;1\n" + QByteArray(OrderCsv::maxRowSize + 1, 'x')
                                   << int(OrderCsv::LineTooLong) << 3;
        QTest::newRow("too many rows") << header + QByteArray("A;x;1\n").repeated(OrderCsv::maxRows + 1)
                                       << int(OrderCsv::TooManyRows) << OrderCsv::maxRows + 2;
        QTest::newRow("too large") << QByteArray(OrderCsv::maxFileSize + 1, ' ') << int(OrderCsv::TooLarge)
                                   << 0;
    }
    void hostileFiles() {
        QFETCH(QByteArray, bytes);
        const OrderCsv file = parseOrderCsv(bytes);
        QCOMPARE(int(file.status), *static_cast<int*>(QTest::qData("status", qMetaTypeId<int>())));
        QCOMPARE(file.line, *static_cast<int*>(QTest::qData("line", qMetaTypeId<int>())));
        QVERIFY(file.rows.empty());
    }
    // What is not a regular file is refused before reading: a FIFO would block, a directory says nothing.
    void fileTypes() {
        const QString fifo = temp.filePath("fifo"), big = temp.filePath("big.csv");
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(OrderCsv::maxFileSize + 1));
        file.close();
        QVERIFY(vxtest::writeFileBytes(temp.filePath("ok.csv"), "Artikel,Gruppe,Menge (VPE)\n"));
        QList<int> statuses;
        for (const QString& path : {fifo, temp.path(), temp.filePath("fehlt"), big, temp.filePath("ok.csv")})
            statuses << readOrderCsvFile(path).status;
        QCOMPARE(statuses, QList<int>({OrderCsv::NotAFile, OrderCsv::NotAFile, OrderCsv::Unreadable,
                                       OrderCsv::TooLarge, OrderCsv::Ok}));
    }
};

QTEST_APPLESS_MAIN(tst_OrderCsv)
#include "tst_ordercsv.moc"
