#include "support/filebytes.h"
#include "support/gui.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/uncompress.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

class tst_Unpack : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    const QString archive = work.filePath("archive.arc");
    const QString target = work.filePath(QString::fromUtf8("Zielordner äß/"));
    std::vector<PackEntry> entries;

    // The archive of records F1 to F12 of 40 to 480 bytes, and an empty target.
    void prepare(int method) {
        entries.clear();
        for (int i = 1; i <= 12; ++i)
            entries.push_back(
                {"F" + std::to_string(i), "", method, std::string(40u * i, char('a' + i)), false});
        QVERIFY(writeFileBytes(archive, packArchive(entries)));
        QVERIFY(QDir(target).removeRecursively() && QDir().mkpath(target));
    }
    // The first count records are unpacked exactly, the others not (or not wholly).
    void compareWith(int count) {
        for (const PackEntry& e : entries)
            QVERIFY2((readFileBytes(target + e.name.c_str()) == e.bytes) == (&e - &entries[0] < count),
                     e.name.c_str());
    }

private slots:
    // The shipped sample, and reference vectors made apart from the packer, so both cannot agree wrongly.
    void archives_data() {
        QTest::addColumn<QString>("path"); // without ".arc": the directory of the files it must give
        QTest::newRow("shipped sample") << VX_SOURCE_DIR "/samples/katalog";
        QTest::newRow("reference catalog") << VX_SOURCE_DIR "/../shared/vectors/catalog_small";
        QTest::newRow("reference run-length") << VX_SOURCE_DIR "/../shared/vectors/edge_runlength";
    }
    void archives() {
        QFETCH(QString, path);
        if (!QFile::exists(path + ".arc"))
            QSKIP("reference vectors not found");
        prepare(0);
        QCOMPARE(uncompressArchive(path + ".arc", target), 0);
        for (const QString& file : QDir(path).entryList(QDir::Files))
            QVERIFY2(readFileBytes(target + file) == readFileBytes(path + "/" + file), qPrintable(file));
        QCOMPARE(QDir(target).entryList(QDir::Files).size(), 14); // twelve records, both temporary files
    }
    void slot_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: the archive as packed
        QTest::addColumn<QString>("blocker");  // a directory of this name in the target
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("unpacked"); // -1: the archive's file dialog is cancelled
        prepare(0);
        const QByteArray packed = QByteArray::fromStdString(readFileBytes(archive));
        QTest::newRow("unpacks") << QByteArray() << "" << 1 << 12;
        QTest::newRow("cancel finishes the record") << QByteArray() << "" << 1 << 5;
        QTest::newRow("file dialog cancelled") << QByteArray() << "" << 1 << -1;
        QTest::newRow("directory of records cut short") << packed.left(100) << "" << 0 << 0;
        QTest::newRow("no separator byte") << packed.left(13 * 18) << "" << 0 << 0;
        QTest::newRow("huge size") << packed.left(32) + "\xFF\xFF\xFF\xFF" + packed.mid(36) << "" << 0 << 0;
        QTest::newRow("last record cut short") << packed.chopped(1) << "" << 0 << 11;
        QTest::newRow("record file taken, method 0") << QByteArray() << "F1" << 0 << 0;
        QTest::newRow("record file taken, method 1") << QByteArray() << "F1" << 1 << 0;
        QTest::newRow("huff.tmp taken") << QByteArray() << "huff.tmp" << 1 << 0;
        QTest::newRow("lzss.tmp taken") << QByteArray() << "lzss.tmp" << 1 << 0;
    }
    // A broken archive or a directory in the way is reported and no later record unpacked; otherwise the user
    // cancels after the last record that should be unpacked.
    void slot() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, blocker);
        QFETCH(int, method);
        QFETCH(int, unpacked);
        const bool fails = !bytes.isNull() || !blocker.isEmpty();
        prepare(method);
        if (!bytes.isNull())
            QVERIFY(writeFileBytes(archive, bytes.toStdString()));
        if (fails && bytes.isNull())
            QVERIFY(QDir().mkpath(target + blocker));
        vxCentralWidget view(nullptr, "view");
        ProgressWatcher progress;
        progress.cancelAt(fails ? "" : "Entpacke F" + QString::number(unpacked));
        MessageBoxCatcher boxes;
        QTimer user; // answers the file dialogs; the directory's trailing "/" is left to the slot
        connect(&user, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                unpacked < 0
                    ? d->reject()
                    : answerFileDialog(d, d->fileMode() == QFileDialog::Directory ? target : archive);
        });
        user.start(0);
        view.slotUncompressCatalog();
        const QStringList texts{
            QString::fromUtf8("Bitte wählen Sie als nächstes das\nVerzeichnis, in das alle "
                              "Dateien entpackt\nwerden sollen."),
            QString::fromUtf8("Die Datei konnte nicht vollständig entpackt werden!")};
        QCOMPARE(boxes.texts(), texts.mid(0, unpacked < 0 ? 0 : fails ? 2 : 1));
        compareWith(unpacked);
    }
};

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
