// The article list's rows: their texts and marks and their order under sorting. The walks that fill selectors
// and list are driven through the window by tst_navigation.
#include "catalog/rowtexts.h"
#include "catalog/sortkeys.h"
#include "catalogview/articleitem.h"
#include "catalogview/articlelistmodel.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <random>

Q_DECLARE_METATYPE(Article)

namespace {
Article article(int status, std::vector<PriceTier> t, int packing = 10, int per = 1, int ordered = 0) {
    return {"", "Widerstand 4,7k \xe4", "Kohleschicht", "R1; R2", status, per, 1, packing, ordered, t};
}

// Main group "A" with upper group "A01" holding one group per list of articles.
Catalog catalogOf(const std::vector<std::vector<Article>>& groups) {
    Category category{"A", "A", {{"A01", "A01", {}}}};
    for (const std::vector<Article>& articles : groups)
        category.subCategories[0].subSubCategories.push_back({"A0101", "A0101", articles});
    return {category};
}

// Each row by its name and index path, top to bottom.
QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int i = 0; i < model.rowCount(); ++i) {
        QStringList cells{model.index(i, ColumnName).data().toString()};
        for (int c = ColumnCategory; c <= ColumnArticle; ++c)
            cells << model.index(i, c).data().toString();
        rows << cells.join(' ');
    }
    return rows;
}
} // namespace

class tst_Rows : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Group rows: smallest tier, its gross price (none if zero), status; order rows: ordered units, value.
    void rowTexts_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<bool>("orderRow");
        QTest::addColumn<QString>("shown"); // VPE, Menge, Preis, Status
        const auto row = [](const QByteArray& name, const Article& a, const char* shown, bool order = false) {
            QTest::newRow(name) << a << order << QString(shown);
        };
        const char* const letters[] = {"?", " ", "R", "B", "A", "?"};
        for (int status = -1; status <= 5; ++status)
            row("status " + QByteArray::number(status),
                article(status, {{5, 0.25}, {50, 0.2}}, 10, 1, status & 1),
                qPrintable(QStringLiteral("10|5|12.50|") + letters[std::max(status, 0)]));
        row("no tiers", article(1, {}), "0|0|| ");
        row("free", article(1, {{1, 0.0}}), "10|1|| ");
        row("price unit 100", article(1, {{10, 2.38}}, 10, 100), "10|10|2.38| ");
        row("ordered", article(3, {{1, 2.38}, {10, 2.142}}, 10, 100, 12), "10|12|2.57|B", true);
        row("ordered for free", article(1, {{1, 0.0}}, 10, 1, 1), "10|1|0.00| ", true);
    }
    void rowTexts() {
        QFETCH(Article, a);
        QFETCH(bool, orderRow);
        QFETCH(QString, shown);
        const RowKind kind = orderRow ? RowKind::Order : RowKind::Group;
        QStringList texts;
        for (int c = 0; c < ArticleColumnCount; ++c)
            texts << articleColumnText(a, {4294967295u, 2, 3, 123456}, kind, c);
        QCOMPARE(texts.mid(1, 4).join('|'), shown);
        QCOMPARE(texts[0] + "|" + texts.mid(5).join('|'),
                 QStringLiteral("Widerstand 4,7k ä|Kohleschicht|R1; R2|4294967295|2|3|123456"));
        QVERIFY(articleColumnText(a, {}, kind, ArticleColumnCount).isNull());
    }

    // Rows sort as a stable sort of their texts would order them: ties in catalog order when listed, in the
    // previous order when sorted again; the selection follows its article. Random listings (group or order
    // rows; a few, ranked among themselves unless the catalog's ranks exist, or many, ranked among the whole
    // catalog) and sorts by any column either way, in the C locale and in a German one, where umlauts sort
    // beside their base letters and a character that the collation ignores makes texts equal.
    void sortsLikeTheTexts_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << QStringLiteral("C");
        QTest::newRow("de_DE") << QStringLiteral("de_DE");
    }
    void sortsLikeTheTexts() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QCollator collator;
        if (locale != "C") // the collation is in effect: the umlaut sorts beside its letter, not after Z
            QVERIFY(textLess(collator, QString::fromLatin1("\xc4tzmittel"), QStringLiteral("Zange")));
        const QList<QByteArray> names = QByteArray("Widerstand,widerstand,\xc4tzmittel,Atzmittel,,\x7f,Z\x7f,"
                                                   "10 Ohm,9 Ohm,\xe4tzmittel,Zange,zange,\xdf,ss,Z")
                                            .split(',');
        std::mt19937 random(1);
        std::vector<std::vector<Article>> groups(4);
        for (int i = 0; i < 160; ++i) {
            Article a =
                article(i % 5, {{i % 3 + 1, 0.5 * (i % 4)}}, 10 * (i % 3), 1, i % 4 == 0 ? 2 + i % 3 : 0);
            const QByteArray& name = names[qsizetype(random() % std::size_t(names.size()))];
            a.name = std::string_view(name.constData(), std::size_t(name.size()));
            a.description = i % 2 ? "Kohleschicht" : "kohleschicht";
            groups[random() % groups.size()].push_back(a);
        }
        const Catalog catalog = catalogOf(groups);
        ArticleIndex index;
        index.build(catalog);
        ArticleListModel model;
        model.setIndex(&index);
        std::vector<std::uint32_t> expected;
        RowKind kind = RowKind::Group;
        int column = -1;
        Qt::SortOrder order = Qt::AscendingOrder;
        const auto text = [&](std::uint32_t n, int c) {
            return articleColumnText(index.article(n), index.path(n), kind, c);
        };
        for (int step = 0; step < 600; ++step) {
            const QPersistentModelIndex kept = model.index(int(expected.size() / 3), ColumnName);
            const QString keptRow = kept.isValid() ? rowsOf(model)[kept.row()] : QString();
            if (step % 3 == 0) {
                kind = random() % 2 ? RowKind::Order : RowKind::Group;
                const unsigned percent = random() % 2 ? 4 : 75;
                expected.clear();
                for (std::uint32_t n = 0; n < index.size(); ++n)
                    if (random() % 100 < percent)
                        expected.push_back(n);
                model.setRows(expected, kind);
            } else {
                column = int(random() % ArticleColumnCount);
                order = random() % 2 ? Qt::AscendingOrder : Qt::DescendingOrder;
                model.sort(column, order);
                QCOMPARE(model.sortColumn(), column);
                QCOMPARE(kept.isValid() ? rowsOf(model)[kept.row()] : QString(), keptRow);
            }
            // What a list of plain rows does: a stable sort of the current rows by their texts.
            if (column >= 0)
                std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
                    return order == Qt::AscendingOrder ? textLess(collator, text(a, column), text(b, column))
                                                       : textLess(collator, text(b, column), text(a, column));
                });
            QStringList shown;
            for (std::uint32_t n : expected) {
                QStringList cells{text(n, ColumnName)};
                for (int c = ColumnCategory; c <= ColumnArticle; ++c)
                    cells << text(n, c);
                shown << cells.join(' ');
            }
            QCOMPARE(rowsOf(model), shown);
        }
    }

    // Sorting moves the selection and the current row with their articles.
    void selectionFollowsAndChangesAreReported() {
        std::vector<Article> articles;
        for (const char* name : {"D", "B", "C", "A"}) {
            articles.push_back(article(1, {{1, 1.0}}));
            articles.back().name = name;
        }
        const Catalog catalog = catalogOf({articles});
        ArticleIndex index;
        index.build(catalog);
        ArticleListModel model;
        model.setIndex(&index);
        model.sort(ColumnName, Qt::AscendingOrder);
        model.showGroup(0, 0, 0);
        QCOMPARE(rowsOf(model).join('/'), "A 0 0 0 3/B 0 0 0 1/C 0 0 0 2/D 0 0 0 0");
        QItemSelectionModel selection(&model);
        selection.setCurrentIndex(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        model.sort(ColumnName, Qt::DescendingOrder);
        QCOMPARE(selection.currentIndex().row(), 2);
        QCOMPARE(selection.selectedRows().constFirst().data().toString(), "B");
        QCOMPARE(model.pathAt(2).a, 1u);
        QCOMPARE(model.rowOf({0, 0, 0, 3}), 3);
        QCOMPARE(model.rowOf({0, 0, 1, 0}), -1);
        // The cells' texts and marks are checked against the catalog by the monkey test; not their looks.
        QVERIFY(orderedPixmap().toImage() != unorderedPixmap().toImage());
        QCOMPARE(model.index(0, ColumnPrice).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(model.index(0, ColumnStatus).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignCenter);
        QVERIFY(model.index(0, ColumnName).data(Qt::TextAlignmentRole).isNull());
        QCOMPARE(model.columnCount(), int(ArticleColumnCount));
        // A row's change is reported for all its cells, the change of all for all cells.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.refreshRow(2);
        model.refreshRow(4);
        model.refreshAll();
        QVERIFY(changed.size() == 2 && changed[0][0] == model.index(2, 0) &&
                changed[0][1] == model.index(2, 10) && changed[1][0] == model.index(0, 0) &&
                changed[1][1] == model.index(3, 10));
        // Without a catalog nothing is listed.
        model.setIndex(nullptr);
        model.showGroup(0, 0, 0);
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(tst_Rows)
#include "tst_rows.moc"
