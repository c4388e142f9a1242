#include "support/filebytes.h"
#include "support/modal.h"
#include "tools/archivepacker.h"
#include "ui/vxcentralwidget.h"
#include "uncompress/uncompress.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

namespace {
std::vector<PackEntry> twelve(int method) { // records F1 to F12 of 40 to 480 bytes
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

    // The archive of twelve(method), and an empty target.
    void prepare(int method, const QString& targetName = QString::fromUtf8("Zielordner äß")) {
        entries = twelve(method);
        QVERIFY(writeFileBytes(archive, packArchive(entries)));
        target = work.filePath(targetName) + "/";
        QVERIFY(QDir(target).removeRecursively() && QDir().mkpath(target));
    }
    // The first count records are unpacked exactly, the others not (or not wholly).
    void compareWith(int count) {
        for (const PackEntry& e : entries)
            QVERIFY2((readFileBytes(target + e.name.c_str()) == e.bytes) == (&e - &entries[0] < count),
                     e.name.c_str());
    }

private slots:
    // The sample a new user tries first, and reference vectors made apart from the packer: a packer and an
    // unpacker that agree with each other but not with the format fail on them.
    void archives_data() {
        QTest::addColumn<QString>("path"); // without ".arc": the directory of the files it must give
        QTest::newRow("shipped sample") << VX_SOURCE_DIR "/samples/katalog";
        QTest::newRow("reference catalog") << VX_SOURCE_DIR "/../shared/vectors/catalog_small";
        QTest::newRow("reference run-length") << VX_SOURCE_DIR "/../shared/vectors/edge_runlength";
    }
    void archives() {
        QFETCH(QString, path);
        prepare(0);
        QCOMPARE(uncompressArchive(path + ".arc", target), 0);
        for (const QString& file : QDir(path).entryList(QDir::Files))
            QVERIFY2(readFileBytes(target + file) == readFileBytes(path + "/" + file), qPrintable(file));
        QCOMPARE(QDir(target).entryList(QDir::Files).size(), 14); // twelve records, both temporary files
    }
    // The records go into the directory, not beside it as "ZielF1"; no directory at all is a failure.
    void targetWithoutSlash() {
        prepare(1, "ohne/Ziel");
        QCOMPARE(uncompressArchive(archive, target.chopped(1)), 0);
        compareWith(12);
        QCOMPARE(uncompressArchive(archive, QString()), 1);
    }
    void slot_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: the archive as packed
        QTest::addColumn<QString>("blocker");  // a directory of this name in the target
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("unpacked"); // -1: the archive's file dialog is cancelled
        QTest::addColumn<bool>("fails"); // if not, and a record is left, the user cancels after the last one
        const auto row = [](const char* name, const QByteArray& bytes, const char* blocker, int method,
                            int unpacked, bool fails) {
            QTest::newRow(name) << bytes << QString(blocker) << method << unpacked << fails;
        };
        const QByteArray packed = QByteArray::fromStdString(packArchive(twelve(0)));
        row("unpacks", {}, "", 1, 12, false);
        row("cancel finishes the record", {}, "", 1, 5, false);
        row("file dialog cancelled", {}, "", 1, -1, false);
        row("directory of records cut short", packed.left(100), "", 0, 0, true);
        row("no separator byte", packed.left(13 * 18), "", 0, 0, true);
        row("huge size", packed.left(32) + "\xFF\xFF\xFF\xFF" + packed.mid(36), "", 0, 0, true);
        row("last record cut short", packed.chopped(1), "", 0, 11, true);
        row("record file taken, method 0", {}, "F1", 0, 0, true);
        row("record file taken, method 1", {}, "F1", 1, 0, true);
        row("huff.tmp taken", {}, "huff.tmp", 1, 0, true);
        row("lzss.tmp taken", {}, "lzss.tmp", 1, 0, true);
    }
    // What is in the way stays as it was, and no later record is unpacked.
    void slot() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, blocker);
        QFETCH(int, method);
        QFETCH(int, unpacked);
        QFETCH(bool, fails);
        prepare(method);
        if (!bytes.isNull())
            QVERIFY(writeFileBytes(archive, bytes.toStdString()));
        if (!blocker.isEmpty())
            QVERIFY(QDir().mkpath(target + blocker) &&
                    writeFileBytes(target + blocker + "/inhalt", "bleibt"));
        vxCentralWidget view(nullptr, "view");
        ProgressWatcher progress;
        progress.cancelAt(fails ? "" : "Entpacke F" + QString::number(unpacked));
        MessageBoxCatcher boxes; // the user answers every modal widget that comes up during the slot
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                const bool directory =
                    dialog->fileMode() == QFileDialog::Directory; // its "/" is left to the slot
                directory || unpacked >= 0 ? answerFileDialog(dialog, directory ? target : archive)
                                           : dialog->reject();
            }
        });
        user.start(0);
        view.slotUncompressCatalog();
        const QStringList texts{
            QString::fromUtf8("Bitte wählen Sie als nächstes das\nVerzeichnis, in das alle Dateien "
                              "entpackt\nwerden sollen."),
            QString::fromUtf8("Die Datei konnte nicht vollständig entpackt werden!")};
        QCOMPARE(boxes.texts(), texts.mid(0, unpacked < 0 ? 0 : fails ? 2 : 1));
        compareWith(unpacked);
        QCOMPARE(readFileBytes(target + blocker + "/inhalt"), std::string(blocker.isEmpty() ? "" : "bleibt"));
    }
};

QTEST_MAIN(tst_Unpack)
#include "tst_unpack.moc"
