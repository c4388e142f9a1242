#include "catalog/catalogloader.h"
#include "tools/cataloggenerator.h"

#include <QFile>
#include <QtTest>

#include <sstream>

namespace {

using Files = std::array<std::string, 4>;

Files generate(std::size_t articles, std::uint64_t seed, GeneratedCatalogSize* size = nullptr) {
    std::ostringstream out[4];
    const GeneratedCatalogSize made = generateCatalog(out[0], out[1], out[2], out[3], articles, seed);
    if (size)
        *size = made;
    return {out[0].str(), out[1].str(), out[2].str(), out[3].str()};
}

} // namespace

class tst_Generator : public QObject {
    Q_OBJECT

private slots:
    void sampleIsReproducible();
    void sameSeedSameBytes();
    void everyRecordFindsItsParent_data();
    void everyRecordFindsItsParent();
};

void tst_Generator::sampleIsReproducible() {
    // samples/katalog is what "vxgencatalog samples/katalog 600 1" writes.
    const Files files = generate(600, 1);
    const char* names[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"};
    for (int i = 0; i < 4; ++i) {
        QFile file(QStringLiteral(VX_SOURCE_DIR "/samples/katalog/") + QLatin1String(names[i]));
        QVERIFY2(file.open(QIODevice::ReadOnly), names[i]);
        QVERIFY2(file.readAll() == QByteArray(files[i].data(), qsizetype(files[i].size())), names[i]);
    }
}

void tst_Generator::sameSeedSameBytes() {
    QVERIFY(generate(2000, 42) == generate(2000, 42));
    QVERIFY(generate(2000, 42)[3] != generate(2000, 43)[3]);
}

void tst_Generator::everyRecordFindsItsParent_data() {
    QTest::addColumn<int>("articles");
    for (int n : {0, 1, 600, 30000})
        QTest::addRow("%d articles", n) << n;
}

void tst_Generator::everyRecordFindsItsParent() {
    QFETCH(int, articles);
    GeneratedCatalogSize size;
    const Files files = generate(std::size_t(articles), 5, &size);
    QCOMPARE(size.articles, std::size_t(articles));
    Catalog catalog;
    CatalogLoader loader(catalog);
    std::istringstream in[4] = {std::istringstream(files[0]), std::istringstream(files[1]),
                                std::istringstream(files[2]), std::istringstream(files[3])};
    loader.loadCategories(in[0]);
    loader.loadSubCategories(in[1]);
    loader.loadSubSubCategories(in[2]);
    QCOMPARE(loader.loadArticles(in[3]), CatalogLoader::Status::Complete);
    QCOMPARE(loader.recordCount(), std::size_t(articles));

    std::size_t uppers = 0, groups = 0, placed = 0;
    for (const Category& main : catalog) {
        QVERIFY(!main.name.empty());
        uppers += main.subCategories.size();
        for (const SubCategory& upper : main.subCategories) {
            groups += upper.subSubCategories.size();
            for (const SubSubCategory& group : upper.subSubCategories) {
                placed += group.articles.size();
                for (const Article& article : group.articles) {
                    QVERIFY(!article.name.empty());
                    for (std::size_t t = 1; t < article.priceTiers.size(); ++t)
                        QVERIFY(article.priceTiers[t - 1].quantity < article.priceTiers[t].quantity);
                }
            }
        }
    }
    QCOMPARE(catalog.size(), size.mainGroups);
    QCOMPARE(uppers, size.upperGroups);
    QCOMPARE(groups, size.groups);
    QCOMPARE(placed, std::size_t(articles));
}

QTEST_APPLESS_MAIN(tst_Generator)
#include "tst_generator.moc"
