// What the user sees when opening a catalog directory: selectors, list, warnings, progress and cancel.
#include "catalog/catalogloader.h"
#include "support/catalogdump.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QComboBox>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace vxtest;

namespace {

const QString sample = QStringLiteral(VX_SOURCE_DIR "/samples/katalog");

QByteArray loaded(const QString& directory) {
    Catalog catalog;
    CatalogLoader(catalog).loadDirectory(QFile::encodeName(directory).toStdString());
    return dumpCatalog(catalog);
}

// Two main groups, three upper groups, three groups, four articles.
CatalogWriter smallCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug");
    w.subCategory("A01", latin1("Widerstände"))
        .subCategory("A02", "Kondensatoren")
        .subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kohleschicht")
        .subSubCategory("A0201", "Keramik")
        .subSubCategory("B0101", "Zwick");
    w.article("A0101", "Widerstand 4,7k");
    w.article("A0101", "Widerstand 10k");
    w.article("A0201", "Kondensator 100nF");
    w.article("B0101", "Seitenschneider");
    return w;
}

} // namespace

class tst_Opening : public QObject {
    Q_OBJECT

    ViewFixture f;
    void openDirectory(const QString& directory) {
        answerNextFileDialog(directory);
        f.view->slotOpenCatalog();
    }
    QStringList screen() const {
        return markedEntries(f.selector(0)) + markedEntries(f.selector(1)) + markedEntries(f.selector(2)) +
               f.rowNames();
    }

private slots:
    // The first group of the first upper group of the first main group is shown, with all its rows.
    void opensSampleCatalog() {
        MessageBoxCatcher boxes;
        openDirectory(sample);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(dumpCatalog(f.catalog()), loaded(sample));
        const Category& main = f.catalog().front();
        const SubSubCategory& group = main.subCategories.front().subSubCategories.front();
        QCOMPARE(f.selector(0)->count(), int(f.catalog().size()) + 2);
        QCOMPARE(f.selector(1)->count(), int(main.subCategories.size()));
        QCOMPARE(markedEntries(f.selector(2)).first(), "*" + QString::fromLatin1(group.name.c_str()));
        for (int level = 0; level < 3; ++level)
            QCOMPARE(f.selector(level)->currentIndex(), 0);
        QCOMPARE(f.list()->topLevelItemCount(), int(group.articles.size()));
        QCOMPARE(rowsAgreeWithCatalog(f.list(), f.catalog()), QString());
    }

    // Whatever was shown before is replaced; a file that cannot be opened leaves nothing, and the
    // user learns which file it was.
    // The directory's name tells what is wrong in it: "leer" has no main groups, in "fehlt" and "fifo" the
    // file is missing or a FIFO, in "ART" the file is a directory.
    void opening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QStringList>("shown");
        const QStringList small{"*Bauelemente",  "Werkzeug",       "Suche",
                                "Bestellliste",  "*Widerstände",   "Kondensatoren",
                                "*Kohleschicht", "Widerstand 10k", "Widerstand 4,7k"};
        for (const char* name : {"katalog", "Katalog Müller & Söhne", "Каталог € 2024"})
            QTest::newRow(name) << name << 0 << "" << small;
        QTest::newRow("no main groups") << "leer" << 0 << "" << QStringList{"*Suche", "Bestellliste"};
        const QString cannotOpen = QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!");
        for (int file = 0; file < 4; ++file) {
            const char* name = CatalogWriter::fileName(CatalogFile(file));
            QTest::addRow("%s missing", name) << "fehlt" << file << cannotOpen.arg(name) << QStringList();
        }
        QTest::newRow("WGHAUPT is a FIFO") << "fifo" << 0 << cannotOpen.arg("WGHAUPT") << QStringList();
        QTest::newRow("ART is a directory")
            << "ART" << 3 << "Die Datei ART konnte nicht vollständig gelesen werden!" << small.mid(0, 7);
    }
    void opening() {
        QFETCH(QString, name);
        QFETCH(int, file);
        QFETCH(QString, warning);
        QFETCH(QStringList, shown);
        openDirectory(sample);
        QVERIFY(!f.catalog().empty());
        CatalogWriter w = smallCatalog();
        if (name == "leer")
            w.groups(CatalogFile::WgHaupt).clear();
        else if (name == "ART")
            w.directoryInstead(CatalogFile::Art);
        else if (name == "fehlt" || name == "fifo")
            w.omit(CatalogFile(file));
        const QString directory = f.temp.filePath(name);
        QVERIFY(w.writeTo(directory));
        if (name == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(directory + "/WGHAUPT").constData(), 0600), 0);

        MessageBoxCatcher boxes;
        openDirectory(directory);
        QCOMPARE(boxes.texts(), warning.isEmpty() ? QStringList() : QStringList(warning));
        QCOMPARE(screen(), shown);
        QCOMPARE(dumpCatalog(f.catalog()), shown.isEmpty() ? QByteArray() : loaded(directory));
    }

    void cancelledDialogKeepsCatalog() {
        openDirectory(sample);
        const QStringList before = screen();
        rejectNextModal();
        f.view->slotOpenCatalog();
        QCOMPARE(dumpCatalog(f.catalog()), loaded(sample));
        QCOMPARE(screen(), before);
    }

    // A cancel takes effect right after the file being read: the next file is missing, so a check that
    // came too late would show its warning.
    void progressAndCancel_data() {
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<int>("missing");
        QTest::newRow("not cancelled") << QString() << -1;
        QTest::newRow("while reading WGHAUPT") << QStringLiteral("Öffne WGHAUPT") << 1;
        QTest::newRow("while reading WGOBER") << QStringLiteral("Öffne WGOBER") << 2;
        QTest::newRow("while reading WGGRUPPE") << QStringLiteral("Öffne WGGRUPPE") << 3;
        // Nobody looks at the cancel button after the last file.
        QTest::newRow("while reading ART") << QStringLiteral("Öffne ART") << -1;
    }
    void progressAndCancel() {
        QFETCH(QString, cancelAt);
        QFETCH(int, missing);
        QString directory = sample;
        if (missing >= 0) {
            directory = f.temp.filePath(QStringLiteral("cancel-%1").arg(missing));
            QVERIFY(smallCatalog().omit(CatalogFile(missing)).writeTo(directory));
        }
        ProgressWatcher progress;
        progress.cancelAt(cancelAt);
        MessageBoxCatcher boxes;
        openDirectory(directory);
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(dumpCatalog(f.catalog()), missing < 0 ? loaded(sample) : QByteArray());
        QCOMPARE(f.list()->topLevelItemCount() > 0, missing < 0);
        QCOMPARE(progress.cancelText, QStringLiteral("Abbruch"));
        if (cancelAt.isEmpty()) {
            QCOMPARE(progress.labels, (QStringList{"Öffne Katalog...", "Öffne WGHAUPT", "Öffne WGOBER",
                                                   "Öffne WGGRUPPE", "Öffne ART"}));
            QCOMPARE(progress.values, (QList<int>{1, 2, 3, 4, 5}));
            QCOMPARE(progress.maximum, 5);
        }
    }
};

QTEST_MAIN(tst_Opening)
#include "tst_opening.moc"
