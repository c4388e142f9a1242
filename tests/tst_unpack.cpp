#include "support/filebytes.h"
#include "support/modal.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/uncompress.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace vxtest;

class tst_Unpack : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    const QString archive = work.filePath("archive.arc");
    QString target;
    std::vector<PackEntry> entries;

    // Twelve records F1 to F12 of the given method in the archive, and an empty target.
    void prepare(int method, const QString& targetName = QString::fromUtf8("Zielordner äß")) {
        entries.clear();
        for (int i = 1; i <= 12; ++i)
            entries.push_back(
                {"F" + std::to_string(i), "", method, std::string(40u * i, char('a' + i)), false});
        QVERIFY(writeFileBytes(archive, packArchive(entries)));
        target = work.filePath(targetName) + "/";
        QDir(target).removeRecursively();
        QFile::remove(target.chopped(1)); // left by a test that made the target a file
        QVERIFY(QDir().mkpath(target));
    }
    // The first count records are unpacked exactly, the others not (or not wholly).
    void compareWith(std::size_t count) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            QVERIFY2((readFileBytes(target + entries[i].name.c_str()) == entries[i].bytes) == (i < count),
                     entries[i].name.c_str());
    }

private slots:
    void shippedSample();
    void cancelFinishesTheRecord();
    void unreadableArchives_data();
    void unreadableArchives();
    void hostileTargets_data();
    void hostileTargets();
    void targetWithoutSlash();
    void slot_data();
    void slot();
};

// The archive a new user tries first must give back the sample catalog.
void tst_Unpack::shippedSample() {
    prepare(1);
    ProgressWatcher progress;
    QCOMPARE(uncompressArchive(VX_SOURCE_DIR "/samples/katalog.arc", target), 0);
    for (const char* file : {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"})
        QVERIFY2(readFileBytes(target + file) ==
                     readFileBytes(VX_SOURCE_DIR "/samples/katalog/" + QString(file)),
                 file);
    QCOMPARE(progress.labels.mid(0, 3),
             (QStringList{"Entpacke Dateien...", "Entpacke WGHAUPT", "Entpacke WGOBER"}));
    QCOMPARE(progress.values.constLast(), 13);
}

void tst_Unpack::cancelFinishesTheRecord() {
    prepare(1);
    ProgressWatcher progress;
    progress.cancelAt("Entpacke F5");
    QCOMPARE(uncompressArchive(archive, target), 0);
    compareWith(5);
}

void tst_Unpack::unreadableArchives_data() {
    QTest::addColumn<QByteArray>("bytes"); // null: the path names a directory
    QTest::addColumn<int>("unpacked");     // records whose files are there
    prepare(0);
    const QByteArray packed = QByteArray::fromStdString(packArchive(entries));
    QTest::newRow("directory") << QByteArray() << 0;
    QTest::newRow("directory of records cut short") << packed.left(100) << 0;
    QTest::newRow("no separator byte") << packed.left(13 * 18) << 0;
    QTest::newRow("huge size") << packed.left(18 + 14) + "\xFF\xFF\xFF\xFF" + packed.mid(18 + 18) << 0;
    QTest::newRow("last record cut short") << packed.chopped(1) << 11;
}

void tst_Unpack::unreadableArchives() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, unpacked);
    prepare(0);
    QVERIFY(writeFileBytes(archive, bytes.toStdString()));
    QCOMPARE(uncompressArchive(bytes.isNull() ? work.path() : archive, target), 1);
    compareWith(std::size_t(unpacked));
}

void tst_Unpack::hostileTargets_data() {
    QTest::addColumn<QString>("blocker"); // a directory of this name in the target; "/": the target is a file
    QTest::addColumn<int>("method");
    QTest::newRow("target below a regular file, method 0") << "/" << 0;
    QTest::newRow("target below a regular file, method 1") << "/" << 1;
    QTest::newRow("record file, method 0") << "F1" << 0;
    QTest::newRow("record file, method 1") << "F1" << 1;
    QTest::newRow("huff.tmp") << "huff.tmp" << 1;
    QTest::newRow("lzss.tmp") << "lzss.tmp" << 1;
}

// What is in the way stays as it was, and no later record is unpacked.
void tst_Unpack::hostileTargets() {
    QFETCH(QString, blocker);
    QFETCH(int, method);
    prepare(method);
    if (blocker == "/") {
        QVERIFY(QDir(target).removeRecursively());
        QVERIFY(writeFileBytes(target.chopped(1), "bleibt")); // even root cannot write below a file
        QCOMPARE(uncompressArchive(archive, target + "Ziel/"), 1);
        QCOMPARE(readFileBytes(target.chopped(1)), std::string("bleibt"));
        return;
    }
    QVERIFY(QDir().mkpath(target + blocker) && writeFileBytes(target + blocker + "/inhalt", "bleibt"));
    QCOMPARE(uncompressArchive(archive, target), 1);
    QCOMPARE(readFileBytes(target + blocker + "/inhalt"), std::string("bleibt"));
    QVERIFY(!QFile::exists(target + "F2"));
}

// The records go into the directory, not beside it as "ZielF1"; no directory at all is a failure.
void tst_Unpack::targetWithoutSlash() {
    prepare(1, "ohne/Ziel");
    QCOMPARE(uncompressArchive(archive, target.chopped(1)), 0);
    compareWith(12);
    QCOMPARE(QDir(work.filePath("ohne")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList("Ziel"));
    QCOMPARE(uncompressArchive(archive, QString()), 1);
}

void tst_Unpack::slot_data() {
    QTest::addColumn<bool>("broken");
    QTest::addColumn<bool>("chooseArchive");
    QTest::addColumn<QStringList>("boxes"); // caption: text of each message box, in order
    const QString hint = QString::fromUtf8("Vendrix: Bitte wählen Sie als nächstes das\nVerzeichnis, in das "
                                           "alle Dateien entpackt\nwerden sollen.");
    QTest::newRow("unpacks") << false << true << QStringList{hint};
    QTest::newRow("warns") << true << true
                           << QStringList{
                                  hint, QString::fromUtf8(
                                            "Vendrix: Die Datei konnte nicht vollständig entpackt werden!")};
    QTest::newRow("file dialog cancelled") << false << false << QStringList{};
}

void tst_Unpack::slot() {
    QFETCH(bool, broken);
    QFETCH(bool, chooseArchive);
    QFETCH(QStringList, boxes);
    prepare(1);
    if (broken) {
        entries[5].method = 7;
        QVERIFY(writeFileBytes(archive, packArchive(entries)));
    }
    vxCentralWidget view(nullptr, "view");
    // The user answers every modal widget that comes up during the slot.
    QStringList shown;
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            shown << box->windowTitle() + ": " + box->text() +
                         (box->parentWidget() == &view ? "" : " (no parent)");
            box->defaultButton()->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
            if (dialog->fileMode() == QFileDialog::Directory)
                answerFileDialog(dialog, target); // its trailing "/" is typed away and added by the slot
            else if (chooseArchive)
                answerFileDialog(dialog, archive);
            else
                dialog->reject();
        }
    });
    user.start(0);
    view.slotUncompressCatalog();
    QCOMPARE(shown, boxes);
    compareWith(broken ? 5 : chooseArchive ? 12 : 0);
}

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
