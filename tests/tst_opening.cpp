// What the user sees when opening a catalog directory: selectors, list, warnings, progress and cancel.
#include "catalog/catalogloader.h"
#include "support/catalogdump.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

class tst_Opening : public QObject {
    Q_OBJECT

    ViewFixture f;
    const QString sample = QStringLiteral(VX_SOURCE_DIR "/samples/katalog");
    QStringList screen() const {
        return markedEntries(f.selector(0)) + markedEntries(f.selector(1)) + markedEntries(f.selector(2)) +
               f.rowNames();
    }

private slots:
    // The directory's name tells what is wrong: "leer" has no records, "fehlt" lacks a file, ART is a
    // directory; "nein" is not opened, the question about the order answered with "Nein".
    void opening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QStringList>("shown");
        const QString none;
        const QStringList small{"*Bauelemente",  "Werkzeug",       "Suche",
                                "Bestellliste",  "*Widerstände",   "Kondensatoren",
                                "*Kohleschicht", "Widerstand 10k", "Widerstand 4,7k"};
        for (const char* name : {"Katalog Müller & Söhne", "Каталог € 2024"})
            QTest::newRow(name) << name << -1 << none << none << small;
        QTest::newRow("no records") << "leer" << -1 << none << none << QStringList{"*Suche", "Bestellliste"};
        for (int file = 0; file < 4; ++file) {
            const QString name = CatalogWriter::fileName(CatalogFile(file));
            QTest::addRow("%s missing", qPrintable(name))
                << "fehlt" << file << none << "Die Datei " + name + " konnte nicht geöffnet werden!"
                << QStringList();
            // A cancel acts right after the file being read: a late check would warn of the missing next
            // file.
            if (file > 0)
                QTest::addRow("cancelled before %s", qPrintable(name))
                    << "fehlt" << file << "Öffne " + QString(CatalogWriter::fileName(CatalogFile(file - 1)))
                    << none << QStringList();
        }
        // Nobody looks at the cancel button after the last file.
        QTest::newRow("cancelled while reading ART") << "katalog" << -1 << "Öffne ART" << none << small;
        QTest::newRow("ART is a directory")
            << "ART" << 3 << none << "Die Datei ART konnte nicht vollständig gelesen werden!"
            << small.mid(0, 7);
        QTest::newRow("file dialog cancelled") << none << -1 << none << none << QStringList();
        QTest::newRow("orders kept") << "nein" << -1 << none << none << QStringList();
    }
    void opening() {
        QFETCH(QString, name);
        QFETCH(int, file);
        QFETCH(QString, cancelAt);
        QFETCH(QString, warning);
        QFETCH(QStringList, shown);
        {
            MessageBoxCatcher yes; // what is shown before must go, its order with it
            yes.answerWith(QMessageBox::Yes);
            answerNextFileDialog(sample);
            f.view->slotOpenCatalog();
        }
        QVERIFY(!f.catalog().empty());
        const auto orderFields = [this] {
            return QStringList{f.child<QLineEdit>("leOrderCount")->text(),
                               f.child<QLineEdit>("leOrderSumNetto")->text(),
                               f.child<QLineEdit>("leOrderSumBrutto")->text()};
        };
        for (int i = 0; orderFields()[0] == "0" && i < rowCount(f.list()); ++i)
            if (cellText(f.list(), i, ColumnQuantity) != "0")
                QVERIFY(f.order(0, 0, 0, cellText(f.list(), i, ColumnName), QString()));
        const QStringList ordered = orderFields();
        QCOMPARE(ordered[0], "1");
        const QByteArray before = dumpCatalog(f.catalog());
        const bool kept = name.isEmpty() || name == "nein";
        CatalogWriter w;
        if (name != "leer") {
            w.category("A", "Bauelemente").category("B", "Werkzeug");
            w.subCategory("A01", latin1("Widerstände")).subCategory("A02", "Kondensatoren");
            w.subSubCategory("A0101", "Kohleschicht").article("A0101", "Widerstand 4,7k");
            w.article("A0101", "Widerstand 10k");
        }
        QString directory = f.temp.filePath(name);
        const QString broken = directory + "/" + CatalogWriter::fileName(CatalogFile(std::max(file, 0)));
        if (kept)
            shown = screen();
        if (name.isEmpty())
            directory = sample;
        else
            QVERIFY(w.writeTo(directory) && (file < 0 || QFile::remove(broken)) &&
                    (name != "ART" || QDir().mkdir(broken)));
        ProgressWatcher progress;
        progress.cancelAt(cancelAt);
        MessageBoxCatcher boxes;
        boxes.answerWith(kept ? QMessageBox::No : QMessageBox::Yes);
        name.isEmpty() ? rejectNextModal() : answerNextFileDialog(directory);
        f.view->slotOpenCatalog();
        QStringList texts{
            "Es sind 1 Artikel bestellt. Beim Öffnen eines anderen Katalogs geht die Bestellliste "
            "verloren. Trotzdem öffnen?"};
        if (name.isEmpty() || !warning.isEmpty())
            texts = name.isEmpty() ? QStringList() : texts << warning;
        QCOMPARE(boxes.texts(), texts);
        QCOMPARE(screen(), shown);
        // The totals of orders that went with the old catalog must not stay, neither after a failure.
        QCOMPARE(orderFields(), kept ? ordered : QString("0|0.00|0.00").split('|'));
        Catalog expected;
        CatalogLoader(expected).loadDirectory(QFile::encodeName(directory).toStdString());
        QCOMPARE(dumpCatalog(f.catalog()), kept              ? before
                                           : shown.isEmpty() ? QByteArray()
                                                             : dumpCatalog(expected));
        if (!shown.isEmpty() && !kept) {
            QCOMPARE(
                progress.labels,
                QString("Öffne Katalog...|Öffne WGHAUPT|Öffne WGOBER|Öffne WGGRUPPE|Öffne ART").split('|'));
            QVERIFY(progress.cancelText == "Abbruch" && progress.maximum == 5 &&
                    progress.values == (QList<int>{1, 2, 3, 4, 5}));
        }
    }
};

QTEST_MAIN(tst_Opening)
#include "tst_opening.moc"
