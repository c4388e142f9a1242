// CatalogLoader against plain record-by-record loading, its failures, and the catalog generator.
#include "catalog/articletexts.h"
#include "catalog/catalogloader.h"
#include "catalog/streamreaders.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "tools/cataloggenerator.h"

#include <QtTest>

#include <random>
#include <sstream>
#include <sys/stat.h>

using namespace vxtest;
using namespace std::string_literals;
using Files = std::array<std::string, 4>;

static Files generated(std::size_t articles, std::uint64_t seed = 5, GeneratedCatalogSize* size = nullptr) {
    std::ostringstream out[4];
    const GeneratedCatalogSize made = generateCatalog(out[0], out[1], out[2], out[3], articles, seed);
    if (size)
        *size = made;
    return {out[0].str(), out[1].str(), out[2].str(), out[3].str()};
}

enum Way { Plain, Fast };

// An article file that claims another size than it has (or none), as a file growing while it is read or
// a pipe would.
class ClaimedSize : public std::streambuf {
public:
    ClaimedSize(std::string& bytes, std::streamoff claimed) : claimed(claimed) {
        setg(bytes.data(), bytes.data(), bytes.data() + bytes.size());
    }

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        if (claimed < 0)
            return pos_type(off_type(-1));
        const off_type at = dir == std::ios_base::beg   ? off
                            : dir == std::ios_base::cur ? gptr() - eback() + off
                                                        : claimed + off;
        if (at < 0 || at > egptr() - eback())
            return dir == std::ios_base::end ? pos_type(at) : pos_type(off_type(-1));
        setg(eback(), eback() + at, egptr());
        return pos_type(at);
    }
    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        return seekoff(off_type(pos), std::ios_base::beg, which);
    }

private:
    std::streamoff claimed;
};

// The loaded texts are kept once, in catalog order, and every article views them.
static bool textsKeptOnce(const Catalog& catalog) {
    if (!catalog.texts)
        return false;
    std::uint32_t n = 0;
    for (const Category& main : catalog)
        for (const SubCategory& upper : main.subCategories)
            for (const SubSubCategory& group : upper.subSubCategories)
                for (const Article& a : group.articles) {
                    for (auto [field, text] : {std::pair{ArticleTexts::Name, &a.name},
                                               {ArticleTexts::Description, &a.description},
                                               {ArticleTexts::OtherNames, &a.otherNames}}) {
                        const std::string_view kept = catalog.texts->field(field, n);
                        if (kept != *text || (!kept.empty() && kept.data() != text->data()))
                            return false;
                    }
                    ++n;
                }
    return catalog.texts->size() == n;
}

// The plain way, which the fast loader must agree with: read() record by record, the model's own placement.
static Catalog load(const Files& files, Way way) {
    Catalog catalog;
    std::istringstream in[4] = {std::istringstream(files[0]), std::istringstream(files[1]),
                                std::istringstream(files[2]), std::istringstream(files[3])};
    CatalogLoader loader(catalog);
    if (way == Fast) {
        loader.loadCategories(in[0]), loader.loadSubCategories(in[1]), loader.loadSubSubCategories(in[2]);
        return loader.loadArticles(in[3]), catalog;
    }
    const auto place = [&catalog](const std::string& key, auto add) {
        for (Category& main : catalog)
            if (main.key == key.substr(0, 1))
                return add(main);
    };
    for (Category main; main.read(in[0]), in[0];)
        catalog.push_back(main);
    for (SubCategory r; r.read(in[1]), in[1];)
        place(r.key, [&r](Category& main) { main.addSubCategory(r); });
    for (SubSubCategory r; r.read(in[2]), in[2];)
        place(r.key, [&r](Category& main) { main.addSubSubCategory(r); });
    // Views that stay valid while the articles are read, and one store in catalog order after.
    ArticleTexts texts;
    const std::size_t records = files[3].size() / Article::fixedSize + 1;
    texts.reserve(records, {records * (Article::longestName + 1), records * (Article::longestDescription + 1),
                            records * (Article::longestOtherNames + 1)});
    for (Article r; r.read(in[3], texts), in[3];)
        place(r.groupKey, [&r](Category& main) { main.addArticle(r); });
    keepTextsOnce(catalog);
    return catalog;
}

class tst_Loading : public QObject {
    Q_OBJECT

private slots:
    // Both ways agree with a dump written by hand: raw keys, folded texts, signed numbers, first parent wins.
    void recordsAndPlacement() {
        CatalogWriter w;
        w.category("A", "  erste   A ").category("\0"s, "\r\nNUL\t\r\n  Taste\n").category("A", "zweite A");
        w.category("B", "    ");
        w.subCategory("A01", latin1("Widerstände")).subCategory("\0\0\0"s, "a\vb\fc\xA0");
        w.subCategory("A01", "A01 zweite").subCategory("Z01", "ohne Hauptgruppe");
        w.subSubCategory("A0101", "Kohle\tschicht\0cd"s).subSubCategory("\0\0\0\0\0"s, std::string(40, 'n'));
        w.subSubCategory("A0101", "zweite").subSubCategory("A0201", "ohne Obergruppe");
        ArticleFields& plain = w.article("A0101", "  Widerstand   4,7k ").others({"4K7", "", "4,7 kOhm"});
        plain.describe(" Metall\tschicht\n").numbers(2, 100, 3, 100).tiers({{1, 2380}, {10, 2142}});
        ArticleFields& odd = w.article("\0\0\0\0\0"s, "ab\0cd"s).others({"", "", "", "", "", "  z  "});
        odd.numbers(-1, -32768, 0, 0).tiers({{0x80000000LL, 0xFFFFFFFFLL}, {5, 0}});
        ArticleFields& full =
            w.article("A0101", std::string(24, 'N')).describe(std::string(50, 'D')).tiers({});
        full.others({std::string(24, '1'), "2", "3", "4", "5", "6"});
        for (int count : {128, 255})
            w.article("A0101", "count " + std::to_string(count)).countByte(count);
        for (const std::string& key : {"Z0101"s, "A0102"s, "\0\0\0\0\x01"s, "A0101"s})
            w.article(key, "in " + key);
        const QByteArray expected =
            "A erste A\n"
            "  A01 Widerst\\xe4nde\n"
            "    A0101 Kohle schicht\n"
            "      A0101|Widerstand 4,7k|4K7; 4,7 kOhm|Metall schicht|2 100 3 100 0| 1@2.380 10@2.142\n"
            "      A0101|NNNNNNNNNNNNNNNNNNNNNNNN|111111111111111111111111; 2; 3; 4; 5; 6|"
            "DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD|1 1 1 1 0|\n"
            "      A0101|count 128|||1 1 1 1 0|\n"
            "      A0101|count 255|||1 1 1 1 0|\n"
            "      A0101|in A0101|||1 1 1 1 0| 1@1.000\n"
            "    A0101 zweite\n"
            "  A01 A01 zweite\n"
            "\\x00 NUL Taste\n"
            "  \\x00\\x00\\x00 a\\x0bb\\x0cc\\xa0\n"
            "    \\x00\\x00\\x00\\x00\\x00 nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn\n"
            "      \\x00\\x00\\x00\\x00\\x00|ab|z||-1 -32768 0 0 0| -2147483648@4294967.295 5@0.000\n"
            "A zweite A\n"
            "B \n";
        const Files files{w.fileBytes(CatalogFile(0)), w.fileBytes(CatalogFile(1)),
                          w.fileBytes(CatalogFile(2)), w.fileBytes(CatalogFile(3))};
        QCOMPARE(dumpCatalog(load(files, Plain)), expected);
        const Catalog fast = load(files, Fast);
        QCOMPARE(dumpCatalog(fast), expected);
        // The file's order is not the catalog's here: the texts are kept in the catalog's.
        QVERIFY(textsKeptOnce(fast));
    }

    // The loader folds texts eight bytes at a time where it can; it must fold as the plain way does.
    void foldingAgreesWithThePlainWay() {
        std::mt19937 random(7);
        // Three rounds in four draw from the first five letters only: words and single spaces, the fast case.
        const char alphabet[] = {'a', 'b', '\xe4', '!', ' ', ' ', '\t', '\r', '\n', '\x01', '\0', '\x80'};
        for (int round = 0; round < 40000; ++round) {
            unsigned char field[40];
            const int width = int(random() % 41);
            for (int i = 0; i < width; ++i)
                field[i] = static_cast<unsigned char>(alphabet[random() % (round % 4 ? 5 : 12)]);
            // A NUL ends a text wherever it stands.
            if (round % 3 == 0 && width > 0)
                field[random() % unsigned(width)] = 0;
            std::string plain = fixedText(field, width);
            simplifyText(plain);
            char folded[40];
            QCOMPARE(std::string(folded, simplifiedText(folded, field, width)), plain);
        }
    }

    // The sample is what "vxgencatalog samples/katalog 600 1" writes; 20000 articles span several blocks.
    void wholeCatalogs() {
        for (const QString directory :
             {VX_SOURCE_DIR "/samples/katalog", VX_SOURCE_DIR "/../shared/vectors/catalog_small"}) {
            if (!QFileInfo::exists(directory)) {
                qInfo("not beside this tree: %s", qPrintable(directory)); // a scratch copy of the sources
                continue;
            }
            Files files;
            for (int f = 0; f < 4; ++f)
                files[f] = readFileBytes(directory + "/" + CatalogWriter::fileName(CatalogFile(f)));
            QVERIFY(!files[3].empty() && (!directory.endsWith("katalog") || files == generated(600, 1)));
            Catalog catalog;
            QCOMPARE(CatalogLoader(catalog).loadDirectory(QFile::encodeName(directory).toStdString()),
                     CatalogLoader::Status::Complete);
            QCOMPARE(dumpCatalog(catalog), dumpCatalog(load(files, Plain)));
        }
        for (std::size_t articles : {0, 1, 20000}) {
            GeneratedCatalogSize size;
            const Files files = generated(articles, 5, &size);
            QVERIFY(files == generated(articles) && (!articles || files[3] != generated(articles, 6)[3]));
            const Catalog fast = load(files, Fast);
            const QByteArray dump = dumpCatalog(fast);
            QCOMPARE(dump, dumpCatalog(load(files, Plain)));
            QVERIFY(textsKeptOnce(fast));
            // An article file without a size, or one that turns out larger than it claimed, gives the same.
            for (std::streamoff claimed : {std::streamoff(-1), std::streamoff(files[3].size() / 2)}) {
                Catalog catalog;
                std::istringstream in[3] = {std::istringstream(files[0]), std::istringstream(files[1]),
                                            std::istringstream(files[2])};
                std::string articles = files[3];
                ClaimedSize bytes(articles, claimed);
                std::istream art(&bytes);
                CatalogLoader loader(catalog);
                loader.loadCategories(in[0]), loader.loadSubCategories(in[1]),
                    loader.loadSubSubCategories(in[2]);
                loader.loadArticles(art);
                QCOMPARE(dumpCatalog(catalog), dump);
                QVERIFY(textsKeptOnce(catalog));
            }
            QCOMPARE(std::size_t(dump.count('\n')),
                     size.mainGroups + size.upperGroups + size.groups + articles);
        }
    }

    // A FIFO would block, /dev/zero never ends, a directory fails to read: all reported, no hang, no memory
    // hog.
    void specialFiles() {
        for (const char* kind : {"fifo", "zero", "directory"}) {
            QTemporaryDir temp;
            CatalogWriter w;
            w.category("A", "A").subCategory("A01", "R").subSubCategory("A0101", "K").article("A0101", "R");
            const CatalogFile file = kind == "fifo"s ? CatalogFile::WgHaupt : CatalogFile::Art;
            const QByteArray path = QFile::encodeName(temp.filePath(CatalogWriter::fileName(file)));
            QVERIFY(w.writeTo(temp.path()) && QFile::remove(path));
            QVERIFY(kind == "fifo"s        ? mkfifo(path.constData(), 0600) == 0
                    : kind == "directory"s ? QDir().mkdir(path)
                                           : QFile::link("/dev/zero", path));
            Catalog catalog;
            QCOMPARE(CatalogLoader(catalog).loadDirectory(QFile::encodeName(temp.path()).toStdString()),
                     kind == "directory"s ? CatalogLoader::Status::ReadFailed
                                          : CatalogLoader::Status::OpenFailed);
            QCOMPARE(dumpCatalog(catalog), kind == "directory"s ? "A A\n  A01 R\n    A0101 K\n" : "");
        }
    }
};

QTEST_APPLESS_MAIN(tst_Loading)
#include "tst_loading.moc"
