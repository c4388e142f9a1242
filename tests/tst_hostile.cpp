// Hostile catalogs and archives where fuzzing does not reach: the file system around the input.
#include "catalog/catalogloader.h"
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "support/modal.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/uncompress.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace vxtest;

namespace {

// Twelve small records of the given method, named F1 to F12.
std::vector<PackEntry> records(int method) {
    std::vector<PackEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back({"F" + std::to_string(i), "", method, std::string(40u * i, char('a' + i)), false});
    return entries;
}

QStringList entriesOf(const QString& directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                     QDir::Name);
}

// Makes directory unwritable even for root (where permissions do not count): read-only mode, and the
// immutable attribute when the user may set it. False when the directory stays writable.
bool makeUnwritable(const QString& directory) {
    QFile::setPermissions(directory, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    const auto writable = [&] {
        QFile probe(directory + "/probe");
        if (!probe.open(QIODevice::WriteOnly))
            return false;
        probe.remove();
        return true;
    };
    if (!writable())
        return true;
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), directory}) == 0 && !writable();
}

void makeWritable(const QString& directory) {
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), directory});
    QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class tst_Hostile : public QObject {
    Q_OBJECT

private slots:
    void specialCatalogFiles_data();
    void specialCatalogFiles();
    void unwritableTarget_data();
    void unwritableTarget();
    void targetNameIsDirectory_data();
    void targetNameIsDirectory();
    void targetWithoutSlash();

private:
    QTemporaryDir temp;
    QString archivePath() const { return temp.filePath(QStringLiteral("archive.arc")); }
};

void tst_Hostile::specialCatalogFiles_data() {
    // A FIFO blocks whoever opens it, /dev/zero never ends: loading must neither hang nor fill the memory.
    QTest::addColumn<int>("file");
    QTest::addColumn<bool>("fifo");
    QTest::newRow("WGHAUPT is a FIFO") << int(CatalogFile::WgHaupt) << true;
    QTest::newRow("WGHAUPT leads to /dev/zero") << int(CatalogFile::WgHaupt) << false;
    QTest::newRow("ART leads to /dev/zero") << int(CatalogFile::Art) << false;
}

void tst_Hostile::specialCatalogFiles() {
    QFETCH(int, file);
    QFETCH(bool, fifo);
    const QString directory = temp.filePath(QStringLiteral("special-%1-%2").arg(file).arg(fifo));
    CatalogWriter w;
    w.category("A", "Bauelemente").subCategory("A01", "Widerstände").subSubCategory("A0101", "Kohleschicht");
    w.article("A0101", "Widerstand 10k");
    w.omit(CatalogFile(file));
    QVERIFY(w.writeTo(directory));
    const QString path = directory + "/" + CatalogWriter::fileName(CatalogFile(file));
    if (fifo)
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));

    Catalog catalog;
    CatalogLoader loader(catalog);
    QCOMPARE(loader.loadDirectory(QFile::encodeName(directory).toStdString()),
             CatalogLoader::Status::OpenFailed);
    QVERIFY(catalog.empty());

    // The user learns which file it was.
    vxCentralWidget view;
    MessageBoxCatcher boxes;
    answerNextFileDialog(directory);
    view.slotOpenCatalog();
    QCOMPARE(boxes.texts(), QStringList(QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!")
                                            .arg(CatalogWriter::fileName(CatalogFile(file)))));
    QVERIFY(view.currentCatalog().empty());
}

void tst_Hostile::unwritableTarget_data() {
    QTest::addColumn<bool>("belowFile");
    QTest::addColumn<int>("method");
    QTest::newRow("below a regular file, method 0") << true << 0;
    QTest::newRow("below a regular file, method 1") << true << 1;
    QTest::newRow("read-only directory, method 0") << false << 0;
    QTest::newRow("read-only directory, method 1") << false << 1;
}

void tst_Hostile::unwritableTarget() {
    QFETCH(bool, belowFile);
    QFETCH(int, method);
    QVERIFY(writeFileBytes(archivePath(), packArchive(records(method))));
    const QString name = QStringLiteral("unwritable-%1-%2").arg(belowFile).arg(method);
    QString target = temp.filePath(name) + "/";
    if (belowFile) {
        // Root may write anywhere, but not below a path component that is a file.
        QVERIFY(writeFileBytes(temp.filePath(name), "kein Verzeichnis"));
        target += QStringLiteral("Ziel/");
    } else {
        QVERIFY(QDir().mkpath(target));
        const bool unwritable = makeUnwritable(target);
        if (!unwritable) {
            makeWritable(target);
            QSKIP("this user cannot make a directory unwritable");
        }
    }
    const int status = uncompressArchive(archivePath(), target);
    if (!belowFile) {
        makeWritable(target);
        QCOMPARE(entriesOf(target), QStringList());
    } else {
        QCOMPARE(readFileBytes(temp.filePath(name)), std::string("kein Verzeichnis"));
    }
    QCOMPARE(status, 1);
}

void tst_Hostile::targetNameIsDirectory_data() {
    QTest::addColumn<QString>("directoryName");
    QTest::addColumn<int>("method");
    QTest::newRow("record file, method 0") << "F1" << 0;
    QTest::newRow("record file, method 1") << "F1" << 1;
    QTest::newRow("huff.tmp") << "huff.tmp" << 1;
    QTest::newRow("lzss.tmp") << "lzss.tmp" << 1;
}

void tst_Hostile::targetNameIsDirectory() {
    QFETCH(QString, directoryName);
    QFETCH(int, method);
    QVERIFY(writeFileBytes(archivePath(), packArchive(records(method))));
    const QString target =
        temp.filePath(QStringLiteral("directory-%1-%2").arg(directoryName).arg(method)) + "/";
    QVERIFY(QDir().mkpath(target + directoryName));
    QVERIFY(writeFileBytes(target + directoryName + "/inhalt", "bleibt"));
    QCOMPARE(uncompressArchive(archivePath(), target), 1);
    QCOMPARE(readFileBytes(target + directoryName + "/inhalt"), std::string("bleibt"));
    QVERIFY(!entriesOf(target).contains("F2"));
}

void tst_Hostile::targetWithoutSlash() {
    const std::vector<PackEntry> entries = records(1);
    QVERIFY(writeFileBytes(archivePath(), packArchive(entries)));
    const QString parent = temp.filePath(QStringLiteral("ohne-schraegstrich"));
    QVERIFY(QDir().mkpath(parent + "/Ziel"));
    QCOMPARE(uncompressArchive(archivePath(), parent + "/Ziel"), 0);
    QCOMPARE(entriesOf(parent), QStringList("Ziel"));
    QCOMPARE(readFileBytes(parent + "/Ziel/F12"), entries[11].bytes);
    QCOMPARE(uncompressArchive(archivePath(), QString()), 1);
}

QTEST_MAIN(tst_Hostile)
#include "tst_hostile.moc"
