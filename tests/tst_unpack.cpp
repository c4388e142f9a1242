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

namespace {
// Twelve records F1 to F12 of the given method.
std::vector<PackEntry> twelve(int method) {
    std::vector<PackEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back({"F" + std::to_string(i), "", method, std::string(40u * i, char('a' + i)), false});
    return entries;
}
} // namespace

class tst_Unpack : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    const QString archive = work.filePath("archive.arc");
    QString target;
    std::vector<PackEntry> entries;

    // Twelve records of the given method in the archive (record `broken` of an unknown one), an empty target.
    void prepare(int method, const QString& targetName = QString::fromUtf8("Zielordner äß"),
                 int broken = 12) {
        entries = twelve(method);
        if (broken < 12)
            entries[std::size_t(broken)].method = 7;
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
    void failures_data();
    void failures();
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

void tst_Unpack::failures_data() {
    QTest::addColumn<QByteArray>("bytes"); // null: the archive as packed
    QTest::addColumn<QString>("blocker"); // a directory of this name in the target; "/": the target is a file
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("unpacked"); // records whose files are there
    const QByteArray packed = QByteArray::fromStdString(packArchive(twelve(0)));
    QTest::newRow("directory of records cut short") << packed.left(100) << "" << 0 << 0;
    QTest::newRow("no separator byte") << packed.left(13 * 18) << "" << 0 << 0;
    QTest::newRow("huge size") << packed.left(18 + 14) + "\xFF\xFF\xFF\xFF" + packed.mid(18 + 18) << "" << 0
                               << 0;
    QTest::newRow("last record cut short") << packed.chopped(1) << "" << 0 << 11;
    for (int method : {0, 1}) {
        QTest::addRow("target below a file, method %d", method) << QByteArray() << "/" << method << 0;
        QTest::addRow("record file taken, method %d", method) << QByteArray() << "F1" << method << 0;
    }
    QTest::newRow("huff.tmp taken") << QByteArray() << "huff.tmp" << 1 << 0;
    QTest::newRow("lzss.tmp taken") << QByteArray() << "lzss.tmp" << 1 << 0;
}

// What is in the way stays as it was, and no later record is unpacked.
void tst_Unpack::failures() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, blocker);
    QFETCH(int, method);
    QFETCH(int, unpacked);
    prepare(method);
    if (!bytes.isNull())
        QVERIFY(writeFileBytes(archive, bytes.toStdString()));
    const QString blocked = blocker == "/" ? target.chopped(1) : target + blocker + "/inhalt";
    if (blocker == "/") // even root cannot write below a file
        QVERIFY(QDir(target).removeRecursively() && writeFileBytes(blocked, "bleibt"));
    else if (!blocker.isEmpty())
        QVERIFY(QDir().mkpath(target + blocker) && writeFileBytes(blocked, "bleibt"));
    QCOMPARE(uncompressArchive(archive, blocker == "/" ? target + "Ziel/" : target), 1);
    compareWith(std::size_t(unpacked));
    QCOMPARE(readFileBytes(blocked), std::string(blocker.isEmpty() ? "" : "bleibt"));
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
    QTest::addColumn<bool>("chooseArchive");
    QTest::addColumn<int>("unpacked");      // the next record cannot be unpacked
    QTest::addColumn<QStringList>("boxes"); // caption: text of each message box, in order
    const QString hint = QString::fromUtf8("Vendrix: Bitte wählen Sie als nächstes das\nVerzeichnis, in das "
                                           "alle Dateien entpackt\nwerden sollen.");
    QTest::newRow("unpacks") << true << 12 << QStringList{hint};
    QTest::newRow("warns") << true << 5
                           << QStringList{hint, QString::fromUtf8("Vendrix: Die Datei konnte nicht "
                                                                  "vollständig entpackt werden!")};
    QTest::newRow("file dialog cancelled") << false << 0 << QStringList{};
}

void tst_Unpack::slot() {
    QFETCH(bool, chooseArchive);
    QFETCH(int, unpacked);
    QFETCH(QStringList, boxes);
    prepare(1, QString::fromUtf8("Zielordner äß"), unpacked);
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
            // The directory's trailing "/" is typed away and added by the slot.
            if (dialog->fileMode() == QFileDialog::Directory || chooseArchive)
                answerFileDialog(dialog, dialog->fileMode() == QFileDialog::Directory ? target : archive);
            else
                dialog->reject();
        }
    });
    user.start(0);
    view.slotUncompressCatalog();
    QCOMPARE(shown, boxes);
    compareWith(std::size_t(unpacked));
}

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
