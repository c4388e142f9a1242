#include "catalog/catalogloader.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "tools/cataloggenerator.h"
#include "ui/vxcentralwidget.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <random>
#include <sstream>

using namespace vxtest;

using namespace std::string_literals;

namespace {

using Files = std::array<std::string, 4>;
const CatalogFile allFiles[] = {CatalogFile::WgHaupt, CatalogFile::WgOber, CatalogFile::WgGruppe,
                                CatalogFile::Art};

Files filesOf(const CatalogWriter& writer) {
    Files files;
    for (CatalogFile f : allFiles)
        files[int(f)] = writer.fileBytes(f);
    return files;
}

Files readFiles(const QString& directory) {
    Files files;
    for (CatalogFile f : allFiles) {
        QFile file(directory + "/" + CatalogWriter::fileName(f));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray data = file.readAll();
            files[int(f)] = std::string(data.constData(), std::size_t(data.size()));
        }
    }
    return files;
}

Files generatedFiles(std::size_t articles, std::uint64_t seed) {
    std::ostringstream out[4];
    generateCatalog(out[0], out[1], out[2], out[3], articles, seed);
    return {out[0].str(), out[1].str(), out[2].str(), out[3].str()};
}

// The straightforward loading the fast loader must agree with: record by record through read(), each
// record placed by walking the parents from the front.
Catalog plainLoad(const Files& files) {
    Catalog catalog;
    std::istringstream mains(files[0]);
    for (Category main; main.read(mains), mains;)
        catalog.push_back(main);
    const auto firstCategory = [&catalog](const std::string& key) -> Category* {
        for (Category& main : catalog)
            if (main.key == key.substr(0, 1))
                return &main;
        return nullptr;
    };
    std::istringstream uppers(files[1]);
    for (SubCategory upper; upper.read(uppers), uppers;)
        if (Category* main = firstCategory(upper.key))
            main->addSubCategory(upper);
    std::istringstream groups(files[2]);
    for (SubSubCategory group; group.read(groups), groups;)
        if (Category* main = firstCategory(group.key))
            main->addSubSubCategory(group);
    std::istringstream articles(files[3]);
    for (Article article; article.read(articles), articles;)
        if (Category* main = firstCategory(article.groupKey))
            main->addArticle(article);
    return catalog;
}

Catalog fastLoad(const Files& files, CatalogLoader::Status* worst = nullptr) {
    Catalog catalog;
    CatalogLoader loader(catalog);
    std::istringstream in[4] = {std::istringstream(files[0]), std::istringstream(files[1]),
                                std::istringstream(files[2]), std::istringstream(files[3])};
    const CatalogLoader::Status statuses[] = {loader.loadCategories(in[0]), loader.loadSubCategories(in[1]),
                                              loader.loadSubSubCategories(in[2]), loader.loadArticles(in[3])};
    if (worst) {
        *worst = CatalogLoader::Status::Complete;
        for (auto status : statuses)
            if (status != CatalogLoader::Status::Complete)
                *worst = status;
    }
    return catalog;
}

std::size_t countAt(const Catalog& catalog, CatalogFile level) {
    std::size_t n = 0;
    for (const Category& main : catalog) {
        if (level == CatalogFile::WgHaupt)
            ++n;
        for (const SubCategory& upper : main.subCategories) {
            if (level == CatalogFile::WgOber)
                ++n;
            for (const SubSubCategory& group : upper.subSubCategories)
                n += level == CatalogFile::WgGruppe ? 1
                     : level == CatalogFile::Art    ? group.articles.size()
                                                    : 0;
        }
    }
    return n;
}

// Hands out the bytes of data up to failAt in small pieces, then fails the way a disk or a directory
// does: an exception from the buffer, which the stream turns into badbit without eof.
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string data, std::size_t failAt) : data(std::move(data)), failAt(failAt) {}

protected:
    int_type underflow() override {
        if (served >= failAt)
            throw std::ios_base::failure("read error");
        const std::size_t n = std::min<std::size_t>(4096, failAt - served);
        setg(data.data() + served, data.data() + served, data.data() + served + n);
        served += n;
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string data;
    std::size_t failAt;
    std::size_t served = 0;
};

QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString shown(const std::string& latin1Bytes) {
    return QString::fromLatin1(latin1Bytes.data(), qsizetype(latin1Bytes.size()));
}

// A small complete catalog: two main groups, three upper groups, three groups, four articles.
CatalogWriter smallCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug");
    w.subCategory("A01", latin1("Widerstände"))
        .subCategory("A02", "Kondensatoren")
        .subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kohleschicht")
        .subSubCategory("A0201", "Keramik")
        .subSubCategory("B0101", "Schneiden");
    w.article("A0101", "Widerstand 4,7k");
    w.article("A0101", "Widerstand 10k");
    w.article("A0201", "Kondensator 100nF");
    w.article("B0101", "Seitenschneider");
    return w;
}

} // namespace

class tst_Loading : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void recordCounts_data();
    void recordCounts();
    void placement();
    void matchesPlainLoading_data();
    void matchesPlainLoading();
    void malformedInput();
    void stopsAtStreamFailure();

    void opensSampleCatalog();
    void missingFileWarns_data();
    void missingFileWarns();
    void emptyMainGroups();
    void cancelledDialogKeepsCatalog();
    void progressAndCancel_data();
    void progressAndCancel();
    void opensAnyDirectoryName_data();
    void opensAnyDirectoryName();
    void directoryInPlaceOfArticles();

private:
    void open(const QString& directory) {
        answerNextFileDialog(directory);
        view->slotOpenCatalog();
    }
    QComboBox* combo(const char* name) { return view->findChild<QComboBox*>(QLatin1String(name)); }
    QTreeWidget* list() { return view->findChild<QTreeWidget*>(QStringLiteral("lvParts")); }
    void verifyEmpty() {
        QVERIFY(view->currentCatalog().empty());
        QCOMPARE(combo("cbCategory")->count(), 0);
        QCOMPARE(combo("cbSubCategory")->count(), 0);
        QCOMPARE(combo("cbSubSubCategory")->count(), 0);
        QCOMPARE(list()->topLevelItemCount(), 0);
    }

    vxCentralWidget* view = nullptr;
    QTemporaryDir temp;
    const QString sample = QStringLiteral(VX_SOURCE_DIR "/samples/katalog");
};

void tst_Loading::init() {
    view = new vxCentralWidget;
}

void tst_Loading::cleanup() {
    delete view;
    view = nullptr;
}

void tst_Loading::recordCounts_data() {
    QTest::addColumn<int>("file");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("extraBytes");
    for (CatalogFile f : allFiles) {
        const int size = f == CatalogFile::WgHaupt    ? 43
                         : f == CatalogFile::WgOber   ? 45
                         : f == CatalogFile::WgGruppe ? 47
                                                      : 232 + 8;
        const QByteArray name = CatalogWriter::fileName(f);
        QTest::newRow((name + " empty").constData()) << int(f) << 0 << 0;
        QTest::newRow((name + " short of one record").constData()) << int(f) << 0 << size - 1;
        QTest::newRow((name + " 3 records").constData()) << int(f) << 3 << 0;
        QTest::newRow((name + " 3 records and 10 bytes").constData()) << int(f) << 3 << 10;
        QTest::newRow((name + " 3 records and all but one byte").constData()) << int(f) << 3 << size - 1;
    }
}

void tst_Loading::recordCounts() {
    QFETCH(int, file);
    QFETCH(int, records);
    QFETCH(int, extraBytes);
    const auto level = CatalogFile(file);
    // One parent on each level above; all records of the file under test find it.
    CatalogWriter w;
    const std::string keys[] = {"A", "A01", "A0101"};
    for (int above = 0; above < file; ++above)
        w.groups(CatalogFile(above)).push_back({keys[above], "parent"});
    for (int i = 0; i < records; ++i) {
        if (level == CatalogFile::Art)
            w.article("A0101", "a");
        else
            w.groups(level).push_back({keys[file], "g"});
    }
    if (level == CatalogFile::Art) {
        // The partial record announces tiers that are then missing.
        const std::string partial = ArticleFields().tiers({{1, 1}, {2, 2}, {3, 3}}).bytes();
        w.appendRaw(level, partial.substr(0, std::size_t(extraBytes)));
    } else {
        w.appendRaw(level, std::string(std::size_t(extraBytes), 'x'));
    }
    const Catalog catalog = fastLoad(filesOf(w));
    QCOMPARE(countAt(catalog, level), std::size_t(records));
}

void tst_Loading::placement() {
    CatalogWriter w;
    w.category("A", "erste A").category("\0"s, "NUL").category("A", "zweite A").category("B", "ohne Kinder");
    w.subCategory("A01", "A01 erste")
        .subCategory("\0\0\0"s, "NUL NUL NUL")
        .subCategory("A01", "A01 zweite")
        .subCategory("Z01", "ohne Hauptgruppe")
        .subCategory("A02", "A02");
    w.subSubCategory("A0101", "A0101 erste")
        .subSubCategory("\0\0\0\0\0"s, "NUL x5")
        .subSubCategory("A0101", "A0101 zweite")
        .subSubCategory("A0201", "A0201")
        .subSubCategory("Z0101", "ohne Obergruppe")
        .subSubCategory("A0301", "ohne Obergruppe A03");
    w.article("A0101", "in erste A0101");
    w.article("\0\0\0\0\0"s, "in NUL");
    w.article("A0201", "in A0201");
    w.article("A0102", "ohne Gruppe");
    w.article("Z0101", "ohne Hauptgruppe");
    w.article("A0101", "auch in erste A0101");
    w.article("\0\0\0\0\x01"s, "ohne Gruppe NUL");

    const Catalog catalog = fastLoad(filesOf(w));
    QCOMPARE(dumpCatalog(catalog), dumpCatalog(plainLoad(filesOf(w))));

    QCOMPARE(catalog.size(), std::size_t(4));
    const Category& firstA = catalog[0];
    QCOMPARE(firstA.subCategories.size(), std::size_t(3));
    QVERIFY(catalog[2].subCategories.empty());
    QVERIFY(catalog[3].subCategories.empty());
    QCOMPARE(firstA.subCategories[0].subSubCategories.size(), std::size_t(2));
    QVERIFY(firstA.subCategories[1].subSubCategories.empty());
    QCOMPARE(firstA.subCategories[2].subSubCategories.size(), std::size_t(1));
    const auto& articles = firstA.subCategories[0].subSubCategories[0].articles;
    QCOMPARE(articles.size(), std::size_t(2));
    QCOMPARE(articles[1].name, "auch in erste A0101"s);
    QVERIFY(firstA.subCategories[0].subSubCategories[1].articles.empty());

    const Category& nul = catalog[1];
    QCOMPARE(nul.key, "\0"s);
    QCOMPARE(nul.subCategories.size(), std::size_t(1));
    QCOMPARE(nul.subCategories[0].subSubCategories.size(), std::size_t(1));
    QCOMPARE(nul.subCategories[0].subSubCategories[0].articles.size(), std::size_t(1));
    QCOMPARE(nul.subCategories[0].subSubCategories[0].articles[0].name, "in NUL"s);
}

void tst_Loading::matchesPlainLoading_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("articles");
    QTest::newRow("sample") << sample << -1;
    QTest::newRow("reference vectors")
        << QStringLiteral(VX_SOURCE_DIR "/../shared/vectors/catalog_small") << -1;
    QTest::newRow("generated") << QString() << 3000;
}

void tst_Loading::matchesPlainLoading() {
    QFETCH(QString, directory);
    QFETCH(int, articles);
    if (!directory.isEmpty() && !QFile::exists(directory + "/WGHAUPT"))
        QSKIP("catalog not present");
    const Files files = articles >= 0 ? generatedFiles(std::size_t(articles), 7) : readFiles(directory);
    const Catalog expected = plainLoad(files);
    QVERIFY(!expected.empty());
    QCOMPARE(dumpCatalog(fastLoad(files)), dumpCatalog(expected));
    if (!directory.isEmpty()) {
        Catalog catalog;
        CatalogLoader loader(catalog);
        QCOMPARE(loader.loadDirectory(QFile::encodeName(directory).toStdString()),
                 CatalogLoader::Status::Complete);
        QCOMPARE(dumpCatalog(catalog), dumpCatalog(expected));
    }
}

void tst_Loading::malformedInput() {
    // Whatever the bytes, the loader must end and agree with the record-by-record reading.
    const Files whole = generatedFiles(20, 3);
    for (int f = 0; f < 4; ++f) {
        for (std::size_t cut = 0; cut <= whole[f].size(); cut += f == 3 ? 1 : 7) {
            Files files = whole;
            files[f].resize(cut);
            const QByteArray got = dumpCatalog(fastLoad(files));
            if (got != dumpCatalog(plainLoad(files)))
                QFAIL(qPrintable(QStringLiteral("file %1 cut at %2").arg(f).arg(cut)));
        }
    }
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        Files files = whole;
        for (std::string& file : files) {
            if (round % 3 == 0) {
                file.resize(random() % 3000);
                for (char& c : file)
                    c = char(random() % 8 == 0 ? random() : random() % 3 == 0 ? 'A' : '0' + random() % 3);
            } else if (!file.empty()) {
                for (int flips = 0; flips < 20; ++flips)
                    file[random() % file.size()] = char(random());
            }
        }
        CatalogLoader::Status status;
        const QByteArray got = dumpCatalog(fastLoad(files, &status));
        QCOMPARE(status, CatalogLoader::Status::Complete);
        if (got != dumpCatalog(plainLoad(files)))
            QFAIL(qPrintable(QStringLiteral("random round %1").arg(round)));
    }
}

void tst_Loading::stopsAtStreamFailure() {
    // Records read before a failure stay; nothing after it is invented.
    CatalogWriter many;
    for (int i = 0; i < 100000; ++i)
        many.category("K", std::to_string(i));
    const std::string bytes = many.fileBytes(CatalogFile::WgHaupt);
    FailingBuffer buffer(bytes, bytes.size() * 3 / 5);
    std::istream in(&buffer);
    Catalog partial;
    CatalogLoader loader(partial);
    QCOMPARE(loader.loadCategories(in), CatalogLoader::Status::ReadFailed);
    QVERIFY(!partial.empty());
    QVERIFY(partial.size() < 60000);
    for (std::size_t i = 0; i < partial.size(); ++i)
        QCOMPARE(partial[i].name, std::to_string(i));
}

void tst_Loading::opensSampleCatalog() {
    const Catalog expected = plainLoad(readFiles(sample));
    QVERIFY(!expected.empty());
    MessageBoxCatcher boxes;
    open(sample);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(dumpCatalog(view->currentCatalog()), dumpCatalog(expected));

    QStringList mains;
    for (const Category& main : expected)
        mains << shown(main.name);
    QCOMPARE(items(combo("cbCategory")), mains + QStringList({"Suche", "Bestellliste"}));
    QCOMPARE(combo("cbCategory")->currentIndex(), 0);

    const Category& first = expected.front();
    QStringList uppers;
    for (const SubCategory& upper : first.subCategories)
        uppers << shown(upper.name);
    QCOMPARE(items(combo("cbSubCategory")), uppers);
    QCOMPARE(combo("cbSubCategory")->currentIndex(), 0);

    const SubCategory& firstUpper = first.subCategories.front();
    QStringList groups;
    for (const SubSubCategory& group : firstUpper.subSubCategories)
        groups << shown(group.name);
    QCOMPARE(items(combo("cbSubSubCategory")), groups);
    QCOMPARE(combo("cbSubSubCategory")->currentIndex(), 0);

    const auto& articles = firstUpper.subSubCategories.front().articles;
    QVERIFY(!articles.empty());
    QCOMPARE(list()->topLevelItemCount(), int(articles.size()));
    QStringList names, rows;
    for (const Article& article : articles)
        names << shown(article.name);
    for (int i = 0; i < list()->topLevelItemCount(); ++i)
        rows << list()->topLevelItem(i)->text(ColumnName);
    names.sort();
    rows.sort();
    QCOMPARE(rows, names);
}

void tst_Loading::missingFileWarns_data() {
    QTest::addColumn<int>("file");
    QTest::addColumn<QString>("message");
    for (CatalogFile f : allFiles)
        QTest::newRow(CatalogWriter::fileName(f))
            << int(f)
            << QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!")
                   .arg(QLatin1String(CatalogWriter::fileName(f)));
}

void tst_Loading::missingFileWarns() {
    QFETCH(int, file);
    QFETCH(QString, message);
    // A catalog shown before is gone afterwards, as is everything read from the files before the missing one.
    open(sample);
    QVERIFY(!view->currentCatalog().empty());

    CatalogWriter w = smallCatalog();
    w.omit(CatalogFile(file));
    const QString directory = temp.filePath(QStringLiteral("missing-%1").arg(file));
    QVERIFY(w.writeTo(directory));
    MessageBoxCatcher boxes;
    open(directory);
    QCOMPARE(boxes.texts(), QStringList({message}));
    verifyEmpty();
}

void tst_Loading::emptyMainGroups() {
    CatalogWriter w = smallCatalog();
    w.groups(CatalogFile::WgHaupt).clear();
    QVERIFY(w.writeTo(temp.filePath("no-main-groups")));
    MessageBoxCatcher boxes;
    open(temp.filePath("no-main-groups"));
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(view->currentCatalog().empty());
    QCOMPARE(items(combo("cbCategory")), (QStringList{"Suche", "Bestellliste"}));
    QCOMPARE(combo("cbSubCategory")->count(), 0);
    QCOMPARE(combo("cbSubSubCategory")->count(), 0);
    QCOMPARE(list()->topLevelItemCount(), 0);
}

void tst_Loading::cancelledDialogKeepsCatalog() {
    open(sample);
    const QByteArray before = dumpCatalog(view->currentCatalog());
    const QStringList entries = items(combo("cbCategory"));
    const int rows = list()->topLevelItemCount();
    QVERIFY(rows > 0);

    rejectNextModal();
    view->slotOpenCatalog();
    QCOMPARE(dumpCatalog(view->currentCatalog()), before);
    QCOMPARE(items(combo("cbCategory")), entries);
    QCOMPARE(list()->topLevelItemCount(), rows);
}

void tst_Loading::progressAndCancel_data() {
    // A cancel is to be noticed right after the file being read: the next file is missing, so a check
    // that came too late would show its warning.
    QTest::addColumn<QString>("cancelAt");
    QTest::addColumn<int>("missing");
    QTest::newRow("not cancelled") << QString() << -1;
    QTest::newRow("while reading WGHAUPT") << QStringLiteral("Öffne WGHAUPT") << int(CatalogFile::WgOber);
    QTest::newRow("while reading WGOBER") << QStringLiteral("Öffne WGOBER") << int(CatalogFile::WgGruppe);
    QTest::newRow("while reading WGGRUPPE") << QStringLiteral("Öffne WGGRUPPE") << int(CatalogFile::Art);
    // Nobody looks at the cancel button after the last file.
    QTest::newRow("while reading ART") << QStringLiteral("Öffne ART") << -1;
}

void tst_Loading::progressAndCancel() {
    QFETCH(QString, cancelAt);
    QFETCH(int, missing);
    QString directory = sample;
    if (missing >= 0) {
        CatalogWriter w = smallCatalog();
        w.omit(CatalogFile(missing));
        directory = temp.filePath(QStringLiteral("cancel-%1").arg(missing));
        QVERIFY(w.writeTo(directory));
    }
    ProgressWatcher progress;
    progress.cancelAt(cancelAt);
    MessageBoxCatcher boxes;
    open(directory);
    QCOMPARE(boxes.texts(), QStringList());
    if (missing < 0) {
        QCOMPARE(dumpCatalog(view->currentCatalog()), dumpCatalog(plainLoad(readFiles(sample))));
        QVERIFY(list()->topLevelItemCount() > 0);
    } else {
        verifyEmpty();
    }
    QCOMPARE(progress.objectName, QStringLiteral("progress"));
    QVERIFY(progress.modal);
    QCOMPARE(progress.maximum, 5);
    QCOMPARE(progress.minimumDuration, 0);
    QCOMPARE(progress.cancelText, QStringLiteral("Abbruch"));
    if (cancelAt.isEmpty()) {
        QCOMPARE(progress.labels, (QStringList{"Öffne Katalog...", "Öffne WGHAUPT", "Öffne WGOBER",
                                               "Öffne WGGRUPPE", "Öffne ART"}));
        QCOMPARE(progress.values, (QList<int>{1, 2, 3, 4, 5}));
    }
}

void tst_Loading::opensAnyDirectoryName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("katalog");
    QTest::newRow("umlauts") << QStringLiteral("Katalog Müller & Söhne");
    QTest::newRow("beyond Latin-1") << QStringLiteral("Каталог € 2024");
}

void tst_Loading::opensAnyDirectoryName() {
    QFETCH(QString, name);
    const QString directory = temp.filePath(name);
    QVERIFY(smallCatalog().writeTo(directory));
    MessageBoxCatcher boxes;
    open(directory);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(dumpCatalog(view->currentCatalog()), dumpCatalog(plainLoad(filesOf(smallCatalog()))));
    QCOMPARE(items(combo("cbCategory")), (QStringList{"Bauelemente", "Werkzeug", "Suche", "Bestellliste"}));
    QCOMPARE(items(combo("cbSubCategory")), (QStringList{"Widerstände", "Kondensatoren"}));
    QCOMPARE(list()->topLevelItemCount(), 2);
}

void tst_Loading::directoryInPlaceOfArticles() {
    CatalogWriter w = smallCatalog();
    w.directoryInstead(CatalogFile::Art);
    QVERIFY(w.writeTo(temp.filePath("art-dir")));
    MessageBoxCatcher boxes;
    open(temp.filePath("art-dir"));
    QCOMPARE(boxes.texts(), QStringList({"Die Datei ART konnte nicht vollständig gelesen werden!"}));
    QCOMPARE(view->currentCatalog().size(), std::size_t(2));
    QCOMPARE(countAt(view->currentCatalog(), CatalogFile::WgGruppe), std::size_t(3));
    QCOMPARE(countAt(view->currentCatalog(), CatalogFile::Art), std::size_t(0));
    QCOMPARE(items(combo("cbSubSubCategory")), QStringList({"Kohleschicht"}));
    QCOMPARE(list()->topLevelItemCount(), 0);
}

QTEST_MAIN(tst_Loading)
#include "tst_loading.moc"
