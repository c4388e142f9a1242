// The order list's CSV file: what the export writes is read back to the same orders, also after a spreadsheet
// saved it again in its own way; hostile files end in a status, never in a hang or a half-read list.
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
        for (std::uint64_t seed = 1; seed <= 30; ++seed) {
            std::mt19937_64 random(seed);
            Catalog orders = catalog;
            std::vector<FoundArticle> found;
            std::vector<std::pair<IndexPath, int>> expected;
            std::vector<std::pair<IndexPath, QString>> bad;
            for (unsigned c = 0; c < orders.size(); ++c)
                for (unsigned s = 0; s < orders[c].subCategories.size(); ++s)
                    for (unsigned ss = 0; ss < orders[c].subCategories[s].subSubCategories.size(); ++ss) {
                        std::vector<Article>& group =
                            orders[c].subCategories[s].subSubCategories[ss].articles;
                        for (unsigned a = 0; a < group.size(); ++a) {
                            const int first =
                                group[a].priceTiers.empty() ? 1 : group[a].priceTiers[0].quantity;
                            const int dice = int(random() % 10);
                            if (dice < 3 && !group[a].priceTiers.empty()) {
                                group[a].orderedUnits = first + int(random() % 3);
                                found.push_back({&group[a], {c, s, ss, a}});
                                expected.emplace_back(found.back().path, group[a].orderedUnits);
                            } else if (dice == 3 && (first > 1 || group[a].priceTiers.empty())) {
                                bad.emplace_back(IndexPath{c, s, ss, a}, QString::number(first - 1));
                            } else if (dice == 4) {
                                bad.emplace_back(IndexPath{c, s, ss, a}, random() % 2 ? "0" : "zwei");
                            }
                        }
                    }
            const QByteArray csv = orderListCsv(found);
            const OrderCsv exported = parseOrderCsv(csv);
            QCOMPARE(exported.rows.size(), found.size());
            // Merged in catalog order with rows for the bad units, and numbered as lines.
            std::vector<OrderCsvRow> rows;
            QList<int> refused;
            for (std::size_t f = 0, b = 0; f < found.size() || b < bad.size();) {
                const bool takeBad =
                    b < bad.size() &&
                    (f == found.size() ||
                     std::tie(bad[b].first.c, bad[b].first.s, bad[b].first.ss, bad[b].first.a) <
                         std::tie(found[f].path.c, found[f].path.s, found[f].path.ss, found[f].path.a));
                if (takeBad) {
                    const Article& article = *articleAt(orders, bad[b].first);
                    rows.push_back({0, QString::fromLatin1(article.groupKey.c_str()),
                                    QString::fromLatin1(article.name),
                                    QString::fromLatin1(article.description),
                                    QString::number(article.packingUnit), bad[b++].second});
                    refused << int(rows.size()) + 1;
                } else {
                    const Article& article = *found[f].article;
                    const OrderCsvRow& row = exported.rows[f++];
                    QCOMPARE(QStringList({row.group, row.name, row.description, row.packingUnit, row.units}),
                             QStringList({QString::fromLatin1(article.groupKey.c_str()),
                                          QString::fromLatin1(article.name),
                                          QString::fromLatin1(article.description),
                                          QString::number(article.packingUnit),
                                          QString::number(article.orderedUnits)}));
                    rows.push_back(row);
                }
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
