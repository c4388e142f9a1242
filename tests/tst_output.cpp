#include "app/vxmainwindow.h"
#include "support/catalogwriter.h"
#include "support/filebytes.h"
#include "support/gui.h"

#include <QtPrintSupport>
#include <QtTest>
#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace vxtest;

namespace {
QString htmlRow(const QString& units, const QString& name, const QString& net, const QString& gross) {
    return QString("<TR><TD ALIGN=RIGHT>%1</TD><TD ALIGN=LEFT>%2</TD><TD ALIGN=RIGHT>%3</TD>"
                   "<TD ALIGN=RIGHT>%4</TD></TR>\n")
        .arg(units, name, net, gross);
}
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
} // namespace

class tst_Output : public QObject {
    Q_OBJECT

private slots:
    void init() {
        // The file dialogs keep their history in settings, which must not land in the user's own.
        QStandardPaths::setTestModeEnabled(true);
        window = std::make_unique<vxMainWindow>();
        window->resize(900, 600);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        view = window->findChild<vxCentralWidget*>("view");
        CatalogWriter w;
        w.category("A", "Bauelemente").category("B", "Werkzeug");
        w.subCategory("A01", "Passive").subCategory("A02", latin1("Kühlung")).subCategory("B01", "Zangen");
        w.subSubCategory("A0101", "Kondensatoren").subSubCategory("A0102", latin1("Widerstände"));
        w.subSubCategory("A0201", latin1("Kühlkörper")).subSubCategory("B0101", "Schneiden");
        // Net and gross of the orders below: 2.21586 and 2.5704; 0.86551 and 1.004; 2.00 and 2.14 at 7 % VAT;
        // eleven characters each for 10 cutters; the stripper is last in the catalog, first in sort order.
        w.article("A0101", "Kondensator 100nF").numbers(1, 10, 1, 100).tiers({{1, 2380}, {10, 2142}});
        w.article("A0102", "Widerstand 4,7k").numbers(1, 1, 1, 1).tiers({{1, 1004}});
        w.article("A0201", latin1("Kühlkörper")).numbers(1, 1, 2, 1).tiers({{1, 2140}});
        w.article("B0101", "Seitenschneider").numbers(1, 1, 1, 1).tiers({{1, 1234567890}});
        w.article("B0101", "Abisolier <Typ 1> & Co").numbers(1, 1, 1, 1).tiers({{1, 5800}});
        QVERIFY(w.writeTo(catalog.path()));
        answerNextFileDialog(catalog.path());
        view->slotOpenCatalog();
        out.emplace();
        // Ordered against catalog order, which every export follows.
        QVERIFY(orderFromGroup(view, 1, 0, 0, "Abisolier <Typ 1> & Co", "2"));
        QVERIFY(orderFromGroup(view, 1, 0, 0, "Seitenschneider", "10"));
        QVERIFY(orderFromGroup(view, 0, 1, 0, "Kühlkörper", "1"));
        QVERIFY(orderFromGroup(view, 0, 0, 1, "Widerstand 4,7k", "1"));
        QVERIFY(orderFromGroup(view, 0, 0, 0, "Kondensator 100nF", "12"));
    }
    // Rows in catalog order; amounts of eleven characters are cut in the text only; names keep umlauts and
    // markup characters; a sum typed over the computed one is written as typed.
    void exportedBytes() {
        view->findChild<QLineEdit*>("leOrderSumNetto")->setText("ca. 3 & mehr");
        const QString rule = QString(75, '=') + '\n';
        QCOMPARE(exportTo("Exportiere Text-Datei", "liste.txt"),
                 "Bestellliste\n============\n\n"
                 "Menge (VPE)  | Artikel                            | Netto      | Brutto    \n" +
                     rule +
                     "          12 | Kondensator 100nF                  |       2.22 |       2.57\n"
                     "           1 | Widerstand 4,7k                    |       0.87 |       1.00\n"
                     "           1 | Kühlkörper                         |       2.00 |       2.14\n"
                     "          10 | Seitenschneider                    | 10642826.6 | 12345678.9\n"
                     "           2 | Abisolier <Typ 1> & Co             |      10.00 |      11.60\n" +
                     rule +
                     "             | Summe                              | ca. 3 & me | 12345696.2\n\n");
        QCOMPARE(
            exportTo("Exportiere HTML-Datei", "liste.html"),
            "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
            "<TITLE>Bestelliste</TITLE>\n</HEAD>\n<BODY>\n<CENTER><H2>Bestellliste</H2><P>\n"
            "<TABLE BORDER=1 CELLSPACING=0>\n"
            "<TR><TH>Menge (VPE)</TH><TH>Artikel</TH><TH>Netto</TH><TH>Brutto</TH></TR>\n" +
                htmlRow("12", "Kondensator 100nF", "2.22", "2.57") +
                htmlRow("1", "Widerstand 4,7k", "0.87", "1.00") + htmlRow("1", "Kühlkörper", "2.00", "2.14") +
                htmlRow("10", "Seitenschneider", "10642826.64", "12345678.90") +
                htmlRow("2", "Abisolier &lt;Typ 1&gt; &amp; Co", "10.00", "11.60") +
                "<TR><TD>&nbsp;</TD><TD ALIGN=LEFT><B>Summe</B></TD><TD ALIGN=RIGHT><B>ca. 3 &amp; mehr</B>"
                "</TD><TD ALIGN=RIGHT><B>12345696.21</B></TD></TR>\n</TABLE></CENTER>\n</BODY>\n</HTML>\n");
        // What tst_ordercsv reads back.
        exportTo("Exportiere CSV-Datei", "liste.csv");
        QCOMPARE(
            readAll(out->filePath("liste.csv")),
            "\xEF\xBB\xBFGruppe;Artikel;Beschreibung;Menge (VPE);VPE;St\xC3\xBC"
            "ck;Netto;Brutto\r\nA0101;Kondensator 100nF;;12;10;120;2,22;2,57\r\n"
            "A0102;Widerstand 4,7k;;1;1;1;0,87;1,00\r\nA0201;K\xC3\xBChlk\xC3\xB6rper;;1;1;1;2,00;2,14\r\n"
            "B0101;Seitenschneider;;10;1;10;10642826,64;12345678,90\r\n"
            "B0101;Abisolier <Typ 1> & Co;;2;1;2;10,00;11,60\r\n");
    }
    void writing_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target"); // null: the file dialog is cancelled
        QTest::addColumn<QString>("result"); // the files with their first lines, then the warnings
        const QString kept = "bestellung: alte Liste", warned = kept + ", warning naming the target";
        for (const char* entry : {"Exportiere Text-Datei", "Exportiere HTML-Datei"}) {
            const QString fresh = QString(entry).contains("HTML") ? "<HTML>" : "Bestellliste";
            QTest::addRow("%s: over a file", entry) << entry << "bestellung"
                                                    << "bestellung: " + fresh;
            QTest::addRow("%s: cancelled", entry) << entry << QString() << kept;
            QTest::addRow("%s: parent is a file", entry) << entry << "bestellung/liste" << warned;
            QTest::addRow("%s: write fails", entry) << entry << "bestellung" << warned;
            // Nothing can be created beside the file, but the file itself is writable: it is written in
            // place.
            QTest::addRow("%s: read-only folder, writable file", entry) << entry << "bestellung"
                                                                        << "bestellung: " + fresh;
            QTest::addRow("%s: read-only folder, new file", entry) << entry << "neu" << warned;
        }
    }
    void writing() {
        QFETCH(QString, entry);
        QFETCH(QString, target);
        const bool failingWrite = QByteArray(QTest::currentDataTag()).endsWith("write fails");
        QFile file(out->filePath("bestellung"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("alte Liste\n") == 11);
        file.close();
        // A folder others may only read, and the old file writable for all; root looks at both as nobody.
        const bool readOnly = QByteArray(QTest::currentDataTag()).contains("read-only");
        const auto everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner |
                              QFile::ExeGroup | QFile::ExeOther;
        if (readOnly)
            QVERIFY(QFile::setPermissions(out->path(), everyone) &&
                    QFile::setPermissions(file.fileName(), QFile::Permissions(0x6666)));
        const uid_t fsuid = readOnly && geteuid() == 0 ? setfsuid(65534) : geteuid();
        MessageBoxCatcher boxes;
        if (target.isNull())
            rejectNextModal();
        else
            answerNextFileDialog(out->filePath(target));
        // Room for the old contents, none for the order list; the signal would end the process otherwise.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lowered = {failingWrite ? rlim_t(20) : saved.rlim_cur, saved.rlim_max};
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &lowered);
        runOrderListMenu(entry);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        if (readOnly) {
            setfsuid(fsuid);
            QVERIFY(QFile::setPermissions(out->path(), everyone | QFile::WriteOwner));
        }
        QStringList seen;
        for (const QString& name : QDir(out->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            seen << name + ": " + QString::fromUtf8(readAll(out->filePath(name))).section('\n', 0, 0);
        for (const QString& text : boxes.texts())
            seen << (text.contains(out->filePath(target)) ? "warning naming the target" : text);
        QTEST(seen.join(", "), "result");
    }
    // Rows that name no article or units the order dialog refuses are named in one warning, the others
    // ordered; a damaged file is named (that it changes nothing the monkey test checks); without a catalog
    // the entry only says so.
    void csvImportFailures() {
        QVERIFY(writeFileBytes(out->filePath("teils.csv"),
                               "Gruppe;Artikel;Menge (VPE)\n"
                               "A0101;Kondensator 100nF;0\nB0101;Seitenschneider;3\n"
                               "A0101;Kondensator 100nF;x\nX;<b>?</b>;1\n\n;;\n"
                               "A0102;Widerstand 4,7k;1\nA0102;Widerstand 4,7k;1\n"
                               "A0102;Widerstand 4,7k;1\nA0101;Kondensator 100nF;11\n"));
        QVERIFY(writeFileBytes(out->filePath("kaputt.csv"), "Gruppe;Artikel;Menge (VPE)\n\"A0101;x;1\n"));
        QStringList seen;
        for (const char* file : {"kaputt.csv", "teils.csv"}) {
            MessageBoxCatcher boxes;
            answerNextFileDialog(out->filePath(file));
            runOrderListMenu("Importiere CSV-Datei");
            seen << boxes.texts();
        }
        seen << view->findChild<QLineEdit*>("leOrderSumBrutto")->text();
        // Seitenschneider at 3 instead of 10 units; the one Kondensator 100nF went to the first row naming
        // it.
        QCOMPARE(seen,
                 QStringList(
                     {"Die Datei " + out->filePath("kaputt.csv") +
                          " ist unvollständig: das Anführungszeichen in Zeile 2 wird nie "
                          "geschlossen. Die Bestellung bleibt unverändert.",
                      "6 Zeilen nicht übernommen: Zeile 2 (Kondensator 100nF), Zeile 4 "
                      "(Kondensator 100nF), Zeile 5 (<b>?</b>), Zeile 9 (Widerstand 4,7k), Zeile 10 "
                      "(Widerstand 4,7k) und 1 weitere.\nSie passen zu keinem Artikel des Katalogs, oder der "
                      "Artikel lässt ihre Menge nicht zu.",
                      "3703720.98"}));
        vxCentralWidget empty;
        MessageBoxCatcher boxes;
        QMetaObject::invokeMethod(&empty, "slotImportOrderListCSV");
        QCOMPARE(boxes.texts(), QStringList("Es ist kein Katalog geöffnet. Eine Bestellliste lässt sich erst "
                                            "importieren, wenn ein Katalog geöffnet ist."));
    }
    // "Alle abbestellen" tells the view that the marks of the rows shown changed.
    void unorderAll() {
        auto* list = window->findChild<QTreeView*>("lvParts");
        QSignalSpy told(list->model(), &QAbstractItemModel::dataChanged);
        QVERIFY(chooseFromRowMenu(list, 0, "Alle abbestellen") && told.size() == 1);
    }

private:
    void runOrderListMenu(const QString& entry) {
        for (QAction* action : window->menuBar()->actions().value(1)->menu()->actions())
            if (action->text() == entry)
                return action->trigger();
        QFAIL(qPrintable("no menu entry " + entry));
    }
    QString exportTo(const QString& entry, const QString& name) {
        answerNextFileDialog(out->filePath(name));
        runOrderListMenu(entry);
        return QString::fromUtf8(readAll(out->filePath(name)));
    }

    std::unique_ptr<vxMainWindow> window;
    vxCentralWidget* view = nullptr;
    QTemporaryDir catalog;
    std::optional<QTemporaryDir> out;
};

QTEST_MAIN(tst_Output)
#include "tst_output.moc"
