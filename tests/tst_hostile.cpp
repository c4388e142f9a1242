// Hostile catalogs where fuzzing does not reach: the file system around the input.
#include "catalog/catalogloader.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "ui/vxcentralwidget.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace vxtest;

class tst_Hostile : public QObject {
    Q_OBJECT

private slots:
    void specialCatalogFiles_data();
    void specialCatalogFiles();

private:
    QTemporaryDir temp;
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

QTEST_MAIN(tst_Hostile)
#include "tst_hostile.moc"
