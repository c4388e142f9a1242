#include "app/vxmainwindow.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/printing.h"
#include "ui/vxcentralwidget.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace vxtest;

namespace {

CatalogWriter outputCatalog() {
    CatalogWriter w;
    w.category("A", "Bauelemente").category("B", "Werkzeug");
    w.subCategory("A01", "Passive").subCategory("A02", latin1("Kühlung")).subCategory("B01", "Zangen");
    w.subSubCategory("A0101", "Kondensatoren")
        .subSubCategory("A0102", latin1("Widerstände"))
        .subSubCategory("A0201", latin1("Kühlkörper"))
        .subSubCategory("B0101", "Schneiden");
    // 12 units: net 2.21586..., gross 2.5704.
    w.article("A0101", "Kondensator 100nF").numbers(1, 10, 1, 100).tiers({{1, 2380}, {10, 2142}});
    // 1 unit: net 0.86551..., gross 1.004.
    w.article("A0102", "Widerstand 4,7k").numbers(1, 1, 1, 1).tiers({{1, 1004}});
    // 7 % VAT: net 2.00, gross 2.14.
    w.article("A0201", latin1("Kühlkörper")).numbers(1, 1, 2, 1).tiers({{1, 2140}});
    // 10 units cost 12345678.90 gross, 10642826.64 net: eleven characters each.
    w.article("B0101", "Seitenschneider").numbers(1, 1, 1, 1).tiers({{1, 1234567890}});
    // Comes last in the catalog but first in the list's sort order.
    w.article("B0101", "Abisolier <Typ 1> & Co").numbers(1, 1, 1, 1).tiers({{1, 5800}});
    return w;
}

// Where each article can be ordered: main group, upper group, group.
QList<int> placeOf(const QString& name) {
    if (name.startsWith("Kondensator"))
        return {0, 0, 0};
    if (name.startsWith("Widerstand"))
        return {0, 0, 1};
    if (name.startsWith("Kühl"))
        return {0, 1, 0};
    return {1, 0, 0};
}

const QString textTitle = "Bestellliste\n============\n\n";
const QString textHeader = "Menge (VPE)  | Artikel                            | Netto      | Brutto    \n";
const QString textRule = QString(75, '=') + '\n';
const QString htmlHead =
    "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "<TITLE>Bestelliste</TITLE>\n</HEAD>\n<BODY>\n"
    "<CENTER><H2>Bestellliste</H2><P>\n<TABLE BORDER=1 CELLSPACING=0>\n"
    "<TR><TH>Menge (VPE)</TH><TH>Artikel</TH><TH>Netto</TH><TH>Brutto</TH></TR>\n";
const QString htmlTail = "</TABLE></CENTER>\n</BODY>\n</HTML>\n";

QString htmlRow(const QString& units, const QString& name, const QString& net, const QString& gross) {
    return "<TR><TD ALIGN=RIGHT>" + units + "</TD><TD ALIGN=LEFT>" + name + "</TD><TD ALIGN=RIGHT>" + net +
           "</TD><TD ALIGN=RIGHT>" + gross + "</TD></TR>\n";
}

QString htmlSum(const QString& net, const QString& gross) {
    return "<TR><TD>&nbsp;</TD><TD ALIGN=LEFT><B>Summe</B></TD><TD ALIGN=RIGHT><B>" + net +
           "</B></TD><TD ALIGN=RIGHT><B>" + gross + "</B></TD></TR>\n";
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

int pdfPageCount(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return static_cast<int>(QString::fromLatin1(readAll(path)).count(page));
}

// A small sheet, so that a few rows already need several, at 72 dpi so that pixels are points.
void setUpSmallPdf(QPrinter* printer, const QString& path) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setFullPage(true);
    printer->setResolution(72);
    printer->setPageSize(QPageSize(QSizeF(400, 220), QPageSize::Point, QString(), QPageSize::ExactMatch));
}

// Lowers the largest file this process may write, so that writing fails after the file was opened.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
};

} // namespace

class tst_Output : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exampleFiles();
    void rows_data();
    void rows();
    void fileNames_data();
    void fileNames();
    void unwritableTarget_data();
    void unwritableTarget();
    void printout_data();
    void printout();

private:
    QLineEdit* field(const char* name) { return view->findChild<QLineEdit*>(QLatin1String(name)); }
    void openCatalog() {
        QVERIFY(outputCatalog().writeTo(catalogDir.path()));
        answerNextFileDialog(catalogDir.path());
        view->slotOpenCatalog();
    }
    // Orders "name=units" one after the other, each from its own group.
    void order(const QStringList& orders) {
        for (const QString& item : orders) {
            const QString name = item.section('=', 0, 0);
            const QList<int> place = placeOf(name);
            QVERIFY2(orderFromGroup(view, place[0], place[1], place[2], name, item.section('=', 1)),
                     qPrintable(name));
        }
    }
    void runOrderListMenu(const QString& entry) {
        for (QAction* menu : window->menuBar()->actions())
            if (menu->text() == "&Bestelliste")
                for (QAction* action : menu->menu()->actions())
                    if (action->text() == entry)
                        return action->trigger();
        QFAIL(qPrintable("no menu entry " + entry));
    }
    QByteArray exportTo(const QString& entry, const QString& path) {
        answerNextFileDialog(path);
        runOrderListMenu(entry);
        return readAll(path);
    }

    vxMainWindow* window = nullptr;
    vxCentralWidget* view = nullptr;
    QTemporaryDir catalogDir;
    QTemporaryDir* outDir = nullptr;
};

void tst_Output::initTestCase() {
    // The file dialogs keep their history in the settings, which must not land in the user's own, least of
    // all while the file size is limited.
    QStandardPaths::setTestModeEnabled(true);
}

void tst_Output::init() {
    window = new vxMainWindow;
    window->resize(900, 600);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    view = window->findChild<vxCentralWidget*>("view");
    QVERIFY(view);
    outDir = new QTemporaryDir;
}

void tst_Output::cleanup() {
    delete window;
    window = nullptr;
    delete outDir;
    outDir = nullptr;
}

void tst_Output::exampleFiles() {
    openCatalog();
    // Ordered against the catalog order; the files follow the catalog.
    order({"Widerstand 4,7k=1", "Kondensator 100nF=12"});

    const QByteArray text = exportTo("Exportiere Text-Datei", outDir->filePath("bestellung.txt"));
    QCOMPARE(text, QByteArray("Bestellliste\n"
                              "============\n"
                              "\n"
                              "Menge (VPE)  | Artikel                            | Netto      | Brutto    \n"
                              "===========================================================================\n"
                              "          12 | Kondensator 100nF                  |       2.22 |       2.57\n"
                              "           1 | Widerstand 4,7k                    |       0.87 |       1.00\n"
                              "===========================================================================\n"
                              "             | Summe                              |       3.08 |       3.57\n"
                              "\n"));

    const QByteArray html = exportTo("Exportiere HTML-Datei", outDir->filePath("bestellung.html"));
    QCOMPARE(
        html,
        QByteArray("<HTML>\n"
                   "<HEAD>\n"
                   "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                   "<TITLE>Bestelliste</TITLE>\n"
                   "</HEAD>\n"
                   "<BODY>\n"
                   "<CENTER><H2>Bestellliste</H2><P>\n"
                   "<TABLE BORDER=1 CELLSPACING=0>\n"
                   "<TR><TH>Menge (VPE)</TH><TH>Artikel</TH><TH>Netto</TH><TH>Brutto</TH></TR>\n"
                   "<TR><TD ALIGN=RIGHT>12</TD><TD ALIGN=LEFT>Kondensator 100nF</TD><TD ALIGN=RIGHT>2.22</TD>"
                   "<TD ALIGN=RIGHT>2.57</TD></TR>\n"
                   "<TR><TD ALIGN=RIGHT>1</TD><TD ALIGN=LEFT>Widerstand 4,7k</TD><TD ALIGN=RIGHT>0.87</TD>"
                   "<TD ALIGN=RIGHT>1.00</TD></TR>\n"
                   "<TR><TD>&nbsp;</TD><TD ALIGN=LEFT><B>Summe</B></TD><TD ALIGN=RIGHT><B>3.08</B></TD>"
                   "<TD ALIGN=RIGHT><B>3.57</B></TD></TR>\n"
                   "</TABLE></CENTER>\n"
                   "</BODY>\n"
                   "</HTML>\n"));
}

void tst_Output::rows_data() {
    QTest::addColumn<QStringList>("orders");
    QTest::addColumn<QStringList>("typedSums"); // texts typed over the two sum fields; empty: left alone
    QTest::addColumn<QString>("textRows");      // the lines between the rules and the sum line
    QTest::addColumn<QString>("textSum");
    QTest::addColumn<QString>("htmlRows");
    QTest::addColumn<QString>("htmlSums");

    QTest::newRow("nothing ordered")
        << QStringList() << QStringList() << QString()
        << "             | Summe                              |       0.00 |       0.00\n"
        << QString() << htmlSum("0.00", "0.00");
    QTest::newRow("typed sums")
        << QStringList({"Kondensator 100nF=12"}) << QStringList({"ca. 3 & mehr", "2,57 EUR"})
        << "          12 | Kondensator 100nF                  |       2.22 |       2.57\n"
        << "             | Summe                              | ca. 3 & me |   2,57 EUR\n"
        << htmlRow("12", "Kondensator 100nF", "2.22", "2.57") << htmlSum("ca. 3 &amp; mehr", "2,57 EUR");
    QTest::newRow("ten million")
        << QStringList({"Seitenschneider=10"}) << QStringList()
        << "          10 | Seitenschneider                    | 10642826.6 | 12345678.9\n"
        << "             | Summe                              | 10642826.6 | 12345678.9\n"
        << htmlRow("10", "Seitenschneider", "10642826.64", "12345678.90")
        << htmlSum("10642826.64", "12345678.90");
    QTest::newRow("catalog order, umlauts, markup")
        << QStringList({"Abisolier <Typ 1> & Co=2", "Kühlkörper=1", "Widerstand 4,7k=1"}) << QStringList()
        << "           1 | Widerstand 4,7k                    |       0.87 |       1.00\n"
           "           1 | Kühlkörper                         |       2.00 |       2.14\n"
           "           2 | Abisolier <Typ 1> & Co             |      10.00 |      11.60\n"
        << "             | Summe                              |      12.87 |      14.74\n"
        << htmlRow("1", "Widerstand 4,7k", "0.87", "1.00") + htmlRow("1", "Kühlkörper", "2.00", "2.14") +
               htmlRow("2", "Abisolier &lt;Typ 1&gt; &amp; Co", "10.00", "11.60")
        << htmlSum("12.87", "14.74");
}

void tst_Output::rows() {
    QFETCH(QStringList, orders);
    QFETCH(QStringList, typedSums);
    QFETCH(QString, textRows);
    QFETCH(QString, textSum);
    QFETCH(QString, htmlRows);
    QFETCH(QString, htmlSums);
    openCatalog();
    order(orders);
    if (!typedSums.isEmpty()) {
        for (const char* name : {"leOrderSumNetto", "leOrderSumBrutto"}) {
            field(name)->selectAll();
            QTest::keyClicks(field(name), typedSums.takeFirst());
        }
    }

    const QByteArray text = exportTo("Exportiere Text-Datei", outDir->filePath("liste.txt"));
    QCOMPARE(QString::fromUtf8(text),
             textTitle + textHeader + textRule + textRows + textRule + textSum + "\n");
    const QByteArray html = exportTo("Exportiere HTML-Datei", outDir->filePath("liste.html"));
    QCOMPARE(QString::fromUtf8(html), htmlHead + htmlRows + htmlSums + htmlTail);

    // The printed document shows every name as it is written in the catalog.
    QString fragment;
    view->buildOrderListHtml(fragment);
    QTextDocument printed;
    printed.setHtml("<QT>\n" + fragment + "</QT>\n");
    for (const QString& item : orders)
        QVERIFY2(printed.toPlainText().contains(item.section('=', 0, 0)), qPrintable(printed.toPlainText()));
}

void tst_Output::fileNames_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("cancel");
    for (const QString entry : {"Exportiere Text-Datei", "Exportiere HTML-Datei"}) {
        const QByteArray kind = entry.contains("HTML") ? "html: " : "text: ";
        QTest::newRow(kind + "no extension") << entry << "bestellung" << false << false;
        QTest::newRow(kind + "other extension, existing file") << entry << "bestellung.dat" << true << false;
        QTest::newRow(kind + "cancelled") << entry << "bestellung.txt" << true << true;
    }
}

void tst_Output::fileNames() {
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(bool, existing);
    QFETCH(bool, cancel);
    openCatalog();
    order({"Widerstand 4,7k=1"});
    const QString path = outDir->filePath(name);
    if (existing)
        QVERIFY(writeAll(path, "alte Liste\n"));

    MessageBoxCatcher boxes;
    if (cancel)
        rejectNextModal();
    else
        answerNextFileDialog(path);
    runOrderListMenu(entry);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(QDir(outDir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList(name));
    const QByteArray written = readAll(path);
    if (cancel)
        QCOMPARE(written, QByteArray("alte Liste\n"));
    else
        QVERIFY(written.startsWith(entry.contains("HTML") ? "<HTML>\n" : "Bestellliste\n"));
}

void tst_Output::unwritableTarget_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("failingWrite"); // else the target's parent is a regular file
    for (const QString entry : {"Exportiere Text-Datei", "Exportiere HTML-Datei"}) {
        const QByteArray kind = entry.contains("HTML") ? "html: " : "text: ";
        QTest::newRow(kind + "parent is a file") << entry << false;
        QTest::newRow(kind + "write fails over an existing file") << entry << true;
    }
}

void tst_Output::unwritableTarget() {
    QFETCH(QString, entry);
    QFETCH(bool, failingWrite);
    openCatalog();
    order({"Kondensator 100nF=12", "Widerstand 4,7k=1"});
    const QByteArray old = "alte Liste\n";
    const QString existing = outDir->filePath("bestellung");
    QVERIFY(writeAll(existing, old));
    const QString target = failingWrite ? existing : existing + "/liste.txt";

    QString title, text;
    answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        box->defaultButton()->click();
    });
    answerNextFileDialog(target);
    {
        // Room for the old contents, none for the order list.
        std::optional<FileSizeLimit> limit;
        if (failingWrite)
            limit.emplace(old.size() + 8);
        runOrderListMenu(entry);
    }
    QCOMPARE(title, QString("Vendrix"));
    QVERIFY2(text.contains(target), qPrintable(text));
    QCOMPARE(readAll(existing), old);
    QCOMPARE(QDir(outDir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList("bestellung"));
}

void tst_Output::printout_data() {
    QTest::addColumn<QStringList>("orders");
    QTest::addColumn<bool>("accept");
    const QStringList several = {"Kondensator 100nF=12", "Widerstand 4,7k=1", "Kühlkörper=1",
                                 "Seitenschneider=10", "Abisolier <Typ 1> & Co=2"};
    QTest::newRow("cancelled") << several << false;
    QTest::newRow("nothing ordered") << QStringList() << true;
    QTest::newRow("several pages") << several << true;
}

void tst_Output::printout() {
    QFETCH(QStringList, orders);
    QFETCH(bool, accept);
    openCatalog();
    order(orders);
    const QString path = outDir->filePath("bestellliste.pdf");
    answerNextModal("QPrintDialog", [&](QWidget* w) {
        auto* dialog = static_cast<QPrintDialog*>(w);
        setUpSmallPdf(dialog->printer(), path);
        // done() rather than accept(), which would take the printer back from the dialog's own fields.
        dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    runOrderListMenu("Drucken");
    QCOMPARE(QFile::exists(path), accept);
    if (!accept)
        return;

    // The same document laid out on the same sheet needs as many pages as were printed.
    QString fragment;
    view->buildOrderListHtml(fragment);
    QPrinter probe;
    setUpSmallPdf(&probe, outDir->filePath("probe.pdf"));
    const int pages = RichTextPages("<QT>\n" + fragment + "</QT>\n", &probe).pageCount();
    QCOMPARE(pdfPageCount(path), pages);
    QVERIFY(pages >= (orders.isEmpty() ? 1 : 2));
}

QTEST_MAIN(tst_Output)
#include "tst_output.moc"
