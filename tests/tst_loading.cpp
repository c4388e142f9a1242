// CatalogLoader against plain record-by-record loading, its failures, and the catalog generator.
#include "catalog/catalogloader.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "tools/cataloggenerator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>
#include <sys/stat.h>

using namespace vxtest;
using namespace std::string_literals;

namespace {

using Files = std::array<std::string, 4>;

Files filesOf(const CatalogWriter& w) {
    return {w.fileBytes(CatalogFile(0)), w.fileBytes(CatalogFile(1)), w.fileBytes(CatalogFile(2)),
            w.fileBytes(CatalogFile(3))};
}

Files generated(std::size_t articles, GeneratedCatalogSize* size = nullptr, std::uint64_t seed = 5) {
    std::ostringstream out[4];
    const GeneratedCatalogSize made = generateCatalog(out[0], out[1], out[2], out[3], articles, seed);
    if (size)
        *size = made;
    return {out[0].str(), out[1].str(), out[2].str(), out[3].str()};
}

// What the fast loader must agree with: record by record through read(), each record placed under the
// first main group of its key by the model's own placement.
Catalog plainLoad(const Files& files) {
    Catalog catalog;
    const auto firstCategory = [&catalog](const std::string& key) -> Category* {
        for (Category& main : catalog)
            if (main.key == key.substr(0, 1))
                return &main;
        return nullptr;
    };
    std::istringstream in[4] = {std::istringstream(files[0]), std::istringstream(files[1]),
                                std::istringstream(files[2]), std::istringstream(files[3])};
    for (Category main; main.read(in[0]), in[0];)
        catalog.push_back(main);
    for (SubCategory upper; upper.read(in[1]), in[1];)
        if (Category* main = firstCategory(upper.key))
            main->addSubCategory(upper);
    for (SubSubCategory group; group.read(in[2]), in[2];)
        if (Category* main = firstCategory(group.key))
            main->addSubSubCategory(group);
    for (Article article; article.read(in[3]), in[3];)
        if (Category* main = firstCategory(article.groupKey))
            main->addArticle(article);
    return catalog;
}

Catalog fastLoad(const Files& files) {
    Catalog catalog;
    CatalogLoader loader(catalog);
    using Load = CatalogLoader::Status (CatalogLoader::*)(std::istream&);
    const Load loads[] = {&CatalogLoader::loadCategories, &CatalogLoader::loadSubCategories,
                          &CatalogLoader::loadSubSubCategories, &CatalogLoader::loadArticles};
    for (int f = 0; f < 4; ++f) {
        std::istringstream in(files[f]);
        if ((loader.*loads[f])(in) != CatalogLoader::Status::Complete)
            qWarning("file %d not read to its end", f);
    }
    return catalog;
}

// Records on each level: main groups, upper groups, groups, articles.
std::array<std::size_t, 4> countLevels(const Catalog& catalog) {
    std::array<std::size_t, 4> n{catalog.size(), 0, 0, 0};
    for (const Category& main : catalog)
        for (const SubCategory& upper : main.subCategories) {
            ++n[1];
            for (const SubSubCategory& group : upper.subSubCategories)
                n[2] += 1, n[3] += group.articles.size();
        }
    return n;
}

// Hands out its bytes, then fails the way a disk does: an exception from the buffer, which the stream
// turns into badbit without eof.
struct FailingBuffer : std::stringbuf {
    using std::stringbuf::stringbuf;
    int_type underflow() override { throw std::ios_base::failure("read error"); }
};

} // namespace

class tst_Loading : public QObject {
    Q_OBJECT

private slots:
    // Doubled keys, NUL keys, records without parents: the first main group of a key takes all.
    void placementAgreesWithTheModel() {
        CatalogWriter w;
        w.category("A", "erste A").category("\0"s, "NUL").category("A", "zweite A").category("B", "leer");
        w.subCategory("A01", "A01").subCategory("\0\0\0"s, "NUL").subCategory("A01", "A01 zweite");
        w.subCategory("Z01", "ohne Hauptgruppe");
        w.subSubCategory("A0101", "A0101")
            .subSubCategory("\0\0\0\0\0"s, "NUL")
            .subSubCategory("A0101", "zweite");
        w.subSubCategory("A0201", "ohne Obergruppe");
        for (const std::string& key :
             {"A0101"s, "\0\0\0\0\0"s, "A0102"s, "Z0101"s, "A0101"s, "\0\0\0\0\x01"s})
            w.article(key, "in " + key);
        const Catalog catalog = fastLoad(filesOf(w));
        QCOMPARE(dumpCatalog(catalog), dumpCatalog(plainLoad(filesOf(w))));
        QCOMPARE(countLevels(catalog), (std::array<std::size_t, 4>{4, 3, 3, 3}));
    }

    // samples/katalog is what "vxgencatalog samples/katalog 600 1" writes.
    void directories_data() {
        QTest::addColumn<QString>("directory");
        QTest::newRow("sample") << QStringLiteral(VX_SOURCE_DIR "/samples/katalog");
        QTest::newRow("reference vectors")
            << QStringLiteral(VX_SOURCE_DIR "/../shared/vectors/catalog_small");
    }
    void directories() {
        QFETCH(QString, directory);
        Files files;
        for (int f = 0; f < 4; ++f)
            files[f] = readFileBytes(directory + "/" + CatalogWriter::fileName(CatalogFile(f)));
        QVERIFY(!files[3].empty());
        if (directory.endsWith("katalog"))
            QVERIFY(files == generated(600, nullptr, 1));
        Catalog catalog;
        QCOMPARE(CatalogLoader(catalog).loadDirectory(QFile::encodeName(directory).toStdString()),
                 CatalogLoader::Status::Complete);
        QCOMPARE(dumpCatalog(catalog), dumpCatalog(plainLoad(files)));
    }

    // The generator's catalogs: reproducible, every record finds its parent, and the loader agrees with
    // the plain loading, also when a file ends in a partial record.
    void generatedCatalogs() {
        for (std::size_t articles : {0, 1, 600, 20000}) {
            GeneratedCatalogSize size;
            Files files = generated(articles, &size);
            QVERIFY(files == generated(articles) &&
                    (!articles || files[3] != generated(articles, nullptr, 6)[3]));
            QCOMPARE(countLevels(fastLoad(files)),
                     (std::array<std::size_t, 4>{size.mainGroups, size.upperGroups, size.groups, articles}));
            for (int cut = -1; cut < 4; ++cut) {
                if (cut >= 0 && !files[cut].empty())
                    files[cut].pop_back();
                QCOMPARE(dumpCatalog(fastLoad(files)), dumpCatalog(plainLoad(files)));
            }
        }
    }

    // Records read before a failure stay; nothing after it is invented.
    void stopsAtStreamFailure() {
        CatalogWriter many;
        for (int i = 0; i < 100000; ++i)
            many.category("K", std::to_string(i));
        const std::string bytes = many.fileBytes(CatalogFile::WgHaupt);
        FailingBuffer buffer(bytes.substr(0, bytes.size() * 3 / 5));
        std::istream in(&buffer);
        Catalog partial;
        QCOMPARE(CatalogLoader(partial).loadCategories(in), CatalogLoader::Status::ReadFailed);
        QVERIFY(!partial.empty() && partial.size() < 60000);
        for (std::size_t i = 0; i < partial.size(); ++i)
            QCOMPARE(partial[i].name, std::to_string(i));
    }

    // A FIFO blocks whoever opens it, /dev/zero never ends, a directory reads nothing: no hang, no
    // exhausted memory, and the failure is reported.
    void specialFiles_data() {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("kind");
        QTest::newRow("WGHAUPT is a FIFO") << 0 << "fifo";
        QTest::newRow("WGHAUPT is /dev/zero") << 0 << "zero";
        QTest::newRow("ART is /dev/zero") << 3 << "zero";
        QTest::newRow("ART is a directory") << 3 << "directory";
    }
    void specialFiles() {
        QFETCH(int, file);
        QFETCH(QString, kind);
        QTemporaryDir temp;
        CatalogWriter w;
        w.category("A", "A").subCategory("A01", "R").subSubCategory("A0101", "K").article("A0101", "R");
        kind == "directory" ? w.directoryInstead(CatalogFile(file)) : w.omit(CatalogFile(file));
        QVERIFY(w.writeTo(temp.path()));
        const QByteArray path = QFile::encodeName(temp.filePath(CatalogWriter::fileName(CatalogFile(file))));
        if (kind == "fifo")
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        Catalog catalog;
        const std::size_t kept = kind == "directory";
        QCOMPARE(CatalogLoader(catalog).loadDirectory(QFile::encodeName(temp.path()).toStdString()),
                 kept ? CatalogLoader::Status::ReadFailed : CatalogLoader::Status::OpenFailed);
        QCOMPARE(countLevels(catalog), (std::array<std::size_t, 4>{kept, kept, kept, 0}));
    }
};

QTEST_APPLESS_MAIN(tst_Loading)
#include "tst_loading.moc"
