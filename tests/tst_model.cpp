// Placement, price rules and the index checks of the catalog model.
#include "catalog/category.h"
#include "catalog/orderindex.h"

#include <QTest>

#include <random>

Q_DECLARE_METATYPE(Article)

namespace {
Article article(const char* groupKey, const char* name, std::vector<PriceTier> tiers = {}, int packingUnit = 1,
                int priceUnit = 1, int vatClass = 1) {
    Article a;
    a.groupKey = groupKey;
    a.name = name;
    a.priceTiers = std::move(tiers);
    a.packingUnit = packingUnit;
    a.priceUnit = priceUnit;
    a.vatClass = vatClass;
    return a;
}

template <class Group> Group group(const std::string& key, const char* name) {
    Group g;
    g.key = key;
    g.name = name;
    return g;
}

// Two main groups share key "A"; everything of that key must land under the first.
Category placedCatalogFirst(Category& second) {
    Category first = group<Category>("A", "Erste");
    second = group<Category>("A", "Zweite");
    first.addSubCategory(group<SubCategory>("A01", "Ober"));
    first.addSubCategory(group<SubCategory>("A01", "Ober doppelt"));
    first.addSubSubCategory(group<SubSubCategory>("A0101", "Gruppe"));
    first.addSubSubCategory(group<SubSubCategory>("A0199", "Gruppe ohne Eltern"));
    first.addSubSubCategory(group<SubSubCategory>("A0299", "verloren"));
    first.addArticle(article("A0101", "R1"));
    first.addArticle(article("A0101", "R2"));
    first.addArticle(article("A0102", "ohne Gruppe"));
    first.addArticle(article("A0201", "ohne Obergruppe"));
    return first;
}

QString pathText(const IndexPath& p) {
    return QStringLiteral("%1/%2/%3/%4").arg(p.c).arg(p.s).arg(p.ss).arg(p.a);
}
} // namespace

class ModelTest : public QObject {
    Q_OBJECT

private slots:
    void placementUsesFirstKeyAndDropsOrphans() {
        Category second;
        const Category first = placedCatalogFirst(second);
        QCOMPARE(first.subCategories.size(), 2u);
        const SubCategory& upper = first.subCategories[0];
        QCOMPARE(upper.subSubCategories.size(), 2u);
        QVERIFY(first.subCategories[1].subSubCategories.empty());
        QCOMPARE(upper.subSubCategories[0].articles.size(), 2u);
        QCOMPARE(upper.subSubCategories[0].articles[1].name, std::string("R2"));
        QVERIFY(upper.subSubCategories[1].articles.empty());
    }

    void nulKeysArePlainBytes() {
        Category c = group<Category>(std::string(1, '\0'), "Null");
        c.addSubCategory(group<SubCategory>(std::string("\0\0\1", 3), "x"));
        c.addSubSubCategory(group<SubSubCategory>(std::string("\0\0\1\0\0", 5), "y"));
        c.addSubSubCategory(group<SubSubCategory>(std::string("\0\0\0\0\0", 5), "kein Elternteil"));
        c.addArticle(article("", "kurz"));
        Article a = article("", "lang");
        a.groupKey = std::string("\0\0\1\0\0", 5);
        c.addArticle(a);
        QCOMPARE(c.subCategories[0].subSubCategories.size(), 1u);
        QCOMPARE(c.subCategories[0].subSubCategories[0].articles.size(), 1u);
    }

    void firstTierPrice_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<int>("packing");
        QTest::addColumn<int>("quantity");
        QTest::addColumn<double>("amount");
        QTest::newRow("no tiers") << article("", "", {}, 10) << 0 << 0 << 0.0;
        QTest::newRow("per piece") << article("", "", {{5, 0.25}}, 4, 1) << 4 << 5 << 5.0;
        QTest::newRow("per hundred") << article("", "", {{10, 2.38}, {50, 2.0}}, 10, 100) << 10 << 10 << 2.38;
        QTest::newRow("price unit 0") << article("", "", {{1, 3.0}}, 100, 0) << 100 << 1 << 3.0;
        // A 32-bit product of these would wrap negative.
        QTest::newRow("large") << article("", "", {{2000000000, 1.0}}, 30000, 1) << 30000 << 2000000000 << 6.0e13;
    }
    void firstTierPrice() {
        QFETCH(Article, a);
        QFETCH(int, packing);
        QFETCH(int, quantity);
        QFETCH(double, amount);
        int p = -1, q = -1;
        double m = -1;
        a.firstTierPrice(p, q, m);
        QCOMPARE(p, packing);
        QCOMPARE(q, quantity);
        QCOMPARE(m, amount);
    }

    void orderPrice_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("net");
        QTest::addColumn<double>("gross");
        const Article scale = article("", "", {{1, 2.38}, {10, 2.142}}, 10, 100, 1);
        QTest::newRow("worked example") << scale << 12 << 2.5704 / 1.16 << 2.5704;
        QTest::newRow("equal to tier") << scale << 10 << 100 * 2.142 / 100.0 / 1.16 << 100 * 2.142 / 100.0;
        QTest::newRow("first tier") << scale << 9 << 90 * 2.38 / 100.0 / 1.16 << 90 * 2.38 / 100.0;
        QTest::newRow("beyond last") << scale << 1000 << 10000 * 2.142 / 100.0 / 1.16 << 10000 * 2.142 / 100.0;
        QTest::newRow("below first tier") << article("", "", {{5, 1.0}}, 1, 1) << 4 << 0.0 << 0.0;
        QTest::newRow("no tiers") << article("", "", {}, 1, 1) << 3 << 0.0 << 0.0;
        QTest::newRow("vat 7") << article("", "", {{1, 1.07}}, 1, 1, 2) << 1 << 1.0 << 1.07;
        QTest::newRow("vat class 0") << article("", "", {{1, 1.07}}, 1, 1, 0) << 1 << 1.0 << 1.07;
        QTest::newRow("no wrap") << article("", "", {{1, 1.0}}, 32767, 1) << 100000000 << 3276700000000.0 / 1.16
                                 << 3276700000000.0;
    }
    void orderPrice() {
        QFETCH(Article, a);
        QFETCH(int, units);
        QFETCH(double, net);
        QFETCH(double, gross);
        a.orderedUnits = units;
        double n = -1, g = -1;
        a.orderPrice(n, g);
        QCOMPARE(n, net);
        QCOMPARE(g, gross);
        QVERIFY(n >= 0);
    }

    void workedExampleRounding() {
        Article a = article("", "", {{1, 2.38}, {10, 2.142}}, 10, 100, 1);
        a.orderedUnits = 12;
        double net = 0, gross = 0;
        a.orderPrice(net, gross);
        QCOMPARE(QString::number(gross, 'f', 2), QStringLiteral("2.57"));
        QCOMPARE(QString::number(net, 'f', 2), QStringLiteral("2.22"));
        QCOMPARE(QString::number(net, 'f', 5), QStringLiteral("2.21586"));
    }

    void sumsCountArticlesAndStartFromCallerValues() {
        Category second;
        Category c = placedCatalogFirst(second);
        Article& a = c.subCategories[0].subSubCategories[0].articles[0];
        a.priceTiers = {{1, 1.16}};
        a.orderedUnits = 500;
        int count = 0;
        double net = 0, gross = 0;
        c.sumOrders(count, net, gross);
        QCOMPARE(count, 1);
        QCOMPARE(gross, 580.0);
        second.sumOrders(count, net, gross);
        QCOMPARE(count, 1);
        c.clearOrderedUnits();
        count = 7;
        c.sumOrders(count, net, gross);
        QCOMPARE(count, 7);
    }

    void outOfRangeIndicesDoNothing() {
        Category second;
        Category c = placedCatalogFirst(second);
        const Category before = c;
        int views = 0;
        const ArticleViewer view = [&](const Article&) { ++views; };
        const ArticleEditor edit = [&](Article& a) {
            a.orderedUnits = 99;
            return true;
        };
        for (auto [s, ss, a] : {std::tuple{2u, 0u, 0u}, {0u, 2u, 0u}, {0u, 0u, 2u}, {0u, 0u, 4294967295u}}) {
            c.showArticleInfo(s, ss, a, view);
            c.orderArticle(s, ss, a, edit);
            c.setOrderedUnits(s, ss, a, 5);
        }
        QCOMPARE(views, 0);
        int count = 0;
        double net = 0, gross = 0;
        c.sumOrders(count, net, gross);
        QCOMPARE(count, 0);

        c.orderArticle(0, 0, 1, edit);
        QCOMPARE(c.subCategories[0].subSubCategories[0].articles[1].orderedUnits, 99);
        c.orderArticle(0, 0, 0, [](Article& a) {
            a.orderedUnits = 5;
            return false;
        });
        QCOMPARE(c.subCategories[0].subSubCategories[0].articles[0].orderedUnits, 0);
    }

    void copiesAreDeep() {
        Category second;
        const Category c = placedCatalogFirst(second);
        Category copy = c;
        copy.subCategories[0].subSubCategories[0].articles[0].name = "geändert";
        QCOMPARE(c.subCategories[0].subSubCategories[0].articles[0].name, std::string("R1"));
        copy = copy;
        QCOMPARE(copy.subCategories[0].subSubCategories[0].articles.size(), 2u);
    }

    // The index of ordered articles must answer as the walks over every article do, after any sequence of
    // orders, cancellations and clearings, out-of-range paths included: same count, same sums to the bit,
    // same articles in catalog order.
    void orderIndexAgreesWithTheWalks() {
        Catalog catalog(2);
        for (Category& main : catalog) {
            main.subCategories.resize(2);
            for (SubCategory& upper : main.subCategories) {
                upper.subSubCategories.resize(3);
                for (SubSubCategory& group : upper.subSubCategories)
                    for (int i = 0; i < 5; ++i)
                        group.articles.push_back(
                            article("", "", {{1, 0.1 * (i + 1)}, {7, 0.07}}, i + 1, i % 2, i % 3));
            }
        }
        OrderIndex index;
        std::mt19937 random(7);
        const auto pick = [&random](unsigned n) { return unsigned(random() % n); };
        for (int step = 0; step < 400; ++step) {
            if (pick(50) == 0) {
                for (Category& main : catalog)
                    main.clearOrderedUnits();
                index.clear();
            } else {
                // Now and then an index one past the end.
                const IndexPath path{pick(3), pick(3), pick(4), pick(6)};
                if (path.c < catalog.size())
                    catalog[path.c].setOrderedUnits(path.s, path.ss, path.a, pick(3) == 0 ? 0 : int(pick(20)) + 1);
                index.update(catalog, path);
            }
            int count = 0, indexCount = 0;
            double net = 0, gross = 0, indexNet = 0, indexGross = 0;
            std::vector<FoundArticle> walked, indexed;
            for (unsigned c = 0; c < catalog.size(); ++c) {
                catalog[c].sumOrders(count, net, gross);
                catalog[c].listOrderedArticles(walked, c);
            }
            index.sumOrders(catalog, indexCount, indexNet, indexGross);
            index.listOrderedArticles(catalog, indexed);
            QCOMPARE(indexCount, count);
            QVERIFY(indexNet == net && indexGross == gross);
            QCOMPARE(indexed.size(), walked.size());
            for (std::size_t i = 0; i < walked.size(); ++i) {
                QCOMPARE(indexed[i].article, walked[i].article);
                QCOMPARE(pathText(indexed[i].path), pathText(walked[i].path));
            }
        }
    }
};

QTEST_APPLESS_MAIN(ModelTest)
#include "tst_model.moc"
