// Price rules, index paths and article numbers; the index of ordered articles is checked against a walk over
// the whole catalog by the monkey test after every action.
#include "catalog/articleindex.h"
#include "catalog/category.h"

#include <QtTest>

#include <string_view>

using namespace std::string_view_literals;

Q_DECLARE_METATYPE(Article)

static Article article(std::vector<PriceTier> tiers, int packingUnit = 1, int priceUnit = 1,
                       int vatClass = 1) {
    Article a;
    a.priceTiers = std::move(tiers);
    a.packingUnit = packingUnit, a.priceUnit = priceUnit, a.vatClass = vatClass;
    return a;
}

// 1 piece at 2.38, 10 at 2.142 per 100, packed by 10, 16 % VAT: the price scale of the manual.
static const Article scale = article({{1, 2.38}, {10, 2.142}}, 10, 100, 1);

class tst_Model : public QObject {
    Q_OBJECT

private slots:
    // The first tier as the list shows it (packing, quantity, amount) and the price of the ordered units.
    void prices_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("prices");
        QTest::newRow("worked example") << scale << 12 << "10 1 0.238 | 2.21586 2.57040";
        QTest::newRow("equal to tier") << scale << 10 << "10 1 0.238 | 1.84655 2.14200";
        QTest::newRow("below the second tier") << scale << 9 << "10 1 0.238 | 1.84655 2.14200";
        QTest::newRow("below the first tier") << article({{5, 1.0}}) << 4 << "1 5 5 | 0.00000 0.00000";
        QTest::newRow("no tiers") << article({}, 10) << 3 << "0 0 0 | 0.00000 0.00000";
        QTest::newRow("price unit 0") << article({{1, 3.0}}, 100, 0) << 1 << "100 1 3 | 2.58621 3.00000";
        QTest::newRow("VAT 7 %") << article({{1, 1.07}}, 1, 1, 2) << 1 << "1 1 1.07 | 1.00000 1.07000";
        QTest::newRow("VAT class 0") << article({{1, 1.07}}, 1, 1, 0) << 1 << "1 1 1.07 | 1.00000 1.07000";
        // 32-bit products of these would wrap negative.
        QTest::newRow("large") << article({{2000000000, 1.0}}, 30000) << 0
                               << "30000 2000000000 6e+13 | 0.00000 0.00000";
        QTest::newRow("no wrap") << article({{1, 1.0}}, 32767) << 100000000
                                 << "32767 1 32767 | 2824741379310.34521 3276700000000.00000";
    }
    void prices() {
        QFETCH(Article, a);
        QFETCH(int, units);
        QFETCH(QString, prices);
        int packing = -1, quantity = -1;
        double amount = -1, net = -1, gross = -1;
        a.firstTierPrice(packing, quantity, amount);
        a.orderedUnits = units;
        a.orderPrice(net, gross);
        QCOMPARE(QStringLiteral("%1 %2 %3 | ").arg(packing).arg(quantity).arg(amount) +
                     QString::number(net, 'f', 5) + " " + QString::number(gross, 'f', 5),
                 prices);
    }

    // Paths outside the catalog reach no article; the viewer and the editor are not even called.
    void outOfRangeIndicesDoNothing() {
        Category c;
        c.subCategories.resize(1);
        c.subCategories[0].subSubCategories.resize(1);
        c.subCategories[0].subSubCategories[0].articles.resize(2);
        int calls = 0;
        for (auto [s, ss, a] : {std::tuple{1u, 0u, 0u}, {0u, 1u, 0u}, {0u, 0u, 2u}, {0u, 0u, 4294967295u}}) {
            c.showArticleInfo(s, ss, a, [&](const Article&) { ++calls; });
            c.orderArticle(s, ss, a,
                           [&](Article& article) { return ++calls, article.orderedUnits = 9, true; });
            c.setOrderedUnits(s, ss, a, 5);
        }
        for (const Article& article : c.subCategories[0].subSubCategories[0].articles)
            calls += article.orderedUnits;
        QCOMPARE(calls, 0);
    }

    // Numbers run through the catalog in order, across empty groups and levels, and lead back to their
    // article, path and texts; paths outside the catalog have none.
    void articleNumbers() {
        const auto group = [](int articles) {
            SubSubCategory g;
            for (int i = 0; i < articles; ++i) {
                g.articles.push_back(article({}));
                g.articles.back().name = "0123"sv.substr(std::size_t(i), 1);
            }
            return g;
        };
        Catalog catalog(4);
        catalog[0].subCategories.resize(2); // no groups, then one empty group
        catalog[0].subCategories[1].subSubCategories = {group(0)};
        catalog[1].subCategories.resize(2);
        catalog[1].subCategories[0].subSubCategories = {group(2), group(0), group(3)};
        catalog[1].subCategories[1].subSubCategories = {group(1)};
        catalog[3].subCategories.resize(1);
        catalog[3].subCategories[0].subSubCategories = {group(0), group(4), group(0)};
        keepTextsOnce(catalog);
        ArticleIndex index;
        index.build(catalog);
        std::uint32_t n = 0;
        for (unsigned c = 0; c < catalog.size(); ++c) {
            QCOMPARE(index.category(c).first, n);
            for (unsigned s = 0; s < catalog[c].subCategories.size(); ++s)
                for (unsigned ss = 0; ss < catalog[c].subCategories[s].subSubCategories.size(); ++ss) {
                    const auto& articles = catalog[c].subCategories[s].subSubCategories[ss].articles;
                    QCOMPARE(index.group(c, s, ss).first, n);
                    QCOMPARE(index.group(c, s, ss).end, n + articles.size());
                    for (unsigned a = 0; a < articles.size(); ++a, ++n) {
                        QCOMPARE(&index.article(n), &articles[a]);
                        const IndexPath path = index.path(n);
                        QVERIFY(path.c == c && path.s == s && path.ss == ss && path.a == a);
                        QCOMPARE(index.number(path), n);
                        QCOMPARE(index.texts().field(ArticleTexts::Name, n), articles[a].name);
                        QVERIFY(articles[a].name.data() == index.texts().field(ArticleTexts::Name, n).data());
                    }
                    QCOMPARE(index.number({c, s, ss, unsigned(articles.size())}), ArticleIndex::none);
                }
            QCOMPARE(index.category(c).end, n);
        }
        QCOMPARE(index.size(), 10u);
        QCOMPARE(index.texts().size(), 10u);
        for (const IndexPath& outside : {IndexPath{4, 0, 0, 0}, IndexPath{1, 2, 0, 0}, IndexPath{1, 1, 1, 0},
                                         IndexPath{4294967295u, 0, 0, 0}, IndexPath{1, 4294967295u, 0, 0},
                                         IndexPath{1, 0, 4294967295u, 0}, IndexPath{1, 0, 0, 4294967295u}})
            QCOMPARE(index.number(outside), ArticleIndex::none);
        QCOMPARE(index.category(4).end - index.category(4).first, 0u);
    }
};

QTEST_APPLESS_MAIN(tst_Model)
#include "tst_model.moc"
