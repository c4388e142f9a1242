#include "catalog/subsubcategory.h"
#include "support/modal.h"
#include "ui/vxarticleinfodialog.h"
#include "ui/vxarticleorderdialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <functional>
#include <vector>

using namespace vxtest;

using DialogAction = std::function<void(QLineEdit*)>;
Q_DECLARE_METATYPE(DialogAction)

namespace {
Article transistor() {
    Article a;
    a.name = "BC547B";
    a.description = "Transistor NPN 45V 0,1A";
    a.otherNames = "BC547; BC 547 B";
    a.status = 1;
    a.priceUnit = 100;
    a.vatClass = 1;
    a.packingUnit = 10;
    a.priceTiers = {{10, 2.38}, {50, 1.16}};
    return a;
}

// Latin-1 bytes and markup characters in every text.
Article resistorWithoutPrices() {
    Article a;
    a.name = "<1 Ohm R&S";
    a.description = "Widerstand \xB1"
                    "5% <b>";
    a.otherNames = "A&B";
    a.status = 3;
    a.priceUnit = 1;
    a.vatClass = 2;
    a.packingUnit = -5;
    return a;
}

Article withMinimum(int minimum, int ordered = 0) {
    Article a = transistor();
    a.priceTiers = {{minimum, 1.0}, {minimum * 10, 0.5}};
    a.orderedUnits = ordered;
    return a;
}

// Ways of changing the units field: keys typed at the cursor, keys typed over the selected text, a paste.
DialogAction type(const char* keys) {
    return [keys](QLineEdit* le) { QTest::keyClicks(le, QLatin1String(keys)); };
}
DialogAction typeOver(const char* keys) {
    return [keys](QLineEdit* le) {
        le->selectAll();
        QTest::keyClicks(le, QLatin1String(keys));
    };
}
DialogAction paste(const char* text) {
    return [text](QLineEdit* le) {
        le->selectAll();
        le->insert(QLatin1String(text));
    };
}
DialogAction steps(std::initializer_list<DialogAction> list) {
    return [all = std::vector<DialogAction>(list)](QLineEdit* le) {
        for (const DialogAction& step : all)
            step(le);
    };
}

QString infoHtml(const Article& a) {
    QString out = QStringLiteral("stale");
    buildArticleInfoHtml(a, out);
    return out;
}
} // namespace

Q_DECLARE_METATYPE(Article)

class tst_dialogs : public QObject {
    Q_OBJECT

private slots:
    void infoDocument();
    void infoDocumentWithoutPrices();
    void infoStatusAndRates_data();
    void infoStatusAndRates();
    void orderDocument();
    void infoDialog();
    void infoDialogPrintCancelled();
    void orderDialog_data();
    void orderDialog();
};

void tst_dialogs::infoDocument() {
    QCOMPARE(
        infoHtml(transistor()),
        QString::fromUtf8(
            "<QT><CENTER><TABLE>\n"
            "<TR><TD><B>Name</B>:</TD><TD>BC547B</TD></TR>\n"
            "<TR><TD><B>Beschreibung</B>:</TD><TD>Transistor NPN 45V 0,1A</TD></TR>\n"
            "<TR><TD><B>Weitere Namen</B>:</TD><TD>BC547; BC 547 B</TD></TR>\n"
            "<TR><TD><B>Status</B>:</TD><TD>Lagertyp, wird nach Möglichkeit stets ab Lager angeboten (wenn "
            "auch vielleicht nicht immer in der gewünschten Menge).</TD></TR>\n"
            "<TR><TD><B>1 VPE enthält</B>:</TD><TD>10 Stück</TD></TR>\n"
            "<TR><TD><B>Preise für 100 Stück</B>:</TD><TD><TABLE>\n"
            "<TR><TH ALIGN=CENTER>Menge</TH><TH ALIGN=CENTER>Netto</TH><TH ALIGN=CENTER>Brutto<BR>(incl. "
            "16%)</TH></TR>\n"
            "<TR><TD ALIGN=RIGHT>10</TD><TD ALIGN=RIGHT>2.05</TD><TD ALIGN=RIGHT>2.38</TD></TR>\n"
            "<TR><TD ALIGN=RIGHT>50</TD><TD ALIGN=RIGHT>1.00</TD><TD ALIGN=RIGHT>1.16</TD></TR>\n"
            "</TABLE>\n"
            "</TD></TR>\n"
            "</TABLE></CENTER></QT>\n"));
}

void tst_dialogs::infoDocumentWithoutPrices() {
    QCOMPARE(
        infoHtml(resistorWithoutPrices()),
        QString::fromUtf8("<QT><CENTER><TABLE>\n"
                          "<TR><TD><B>Name</B>:</TD><TD>&lt;1 Ohm R&amp;S</TD></TR>\n"
                          "<TR><TD><B>Beschreibung</B>:</TD><TD>Widerstand ±5% &lt;b&gt;</TD></TR>\n"
                          "<TR><TD><B>Weitere Namen</B>:</TD><TD>A&amp;B</TD></TR>\n"
                          "<TR><TD><B>Status</B>:</TD><TD><B>B</B> = Bestellung erforderlich, der Artikel "
                          "wird nur auf Kundenwunsch bestellt.</TD></TR>\n"
                          "<TR><TD><B>1 VPE enthält</B>:</TD><TD>-5 Stück</TD></TR>\n"
                          "<TR><TD><B>Preise für 1 Stück</B>:</TD><TD>Keine Preisinformationen vorhanden! "
                          "Bitte fragen Sie bei Korvel electronics nach.</TD></TR>\n"
                          "</TABLE></CENTER></QT>\n"));
}

void tst_dialogs::infoStatusAndRates_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("priceUnit");
    QTest::addColumn<int>("vatClass");
    QTest::addColumn<QString>("statusCell");
    QTest::addColumn<QString>("priceRow");

    const QString reduced =
        QStringLiteral("<TD><TABLE>\n<TR><TH ALIGN=CENTER>Menge</TH><TH ALIGN=CENTER>Netto</TH>"
                       "<TH ALIGN=CENTER>Brutto<BR>(incl. 7%)</TH></TR>\n"
                       "<TR><TD ALIGN=RIGHT>-3</TD><TD ALIGN=RIGHT>1.00</TD>"
                       "<TD ALIGN=RIGHT>1.07</TD></TR>\n</TABLE>\n</TD></TR>\n");
    QTest::newRow("R, per piece, 7%")
        << 2 << 1 << 2
        << QString::fromUtf8("<B>R</B> = Restbestand im Lager, wenn dieser verkauft ist erhält der Artikel "
                             "automatisch den Status B (Bestellung erforderlich).")
        << QString::fromUtf8("<TR><TD><B>Preise für 1 Stück</B>:</TD>") + reduced;
    QTest::newRow("A, price unit 0, VAT class 0")
        << 4 << 0 << 0
        << QString::fromUtf8(
               "<B>A</B> = Ausverkauf, wenn der aktuelle Lagerbestand alle ist kann der Artikel "
               "nicht mehr bzw. nur noch zum regulären Marktpreis (z.B. bei Sonderposten) geliefert "
               "werden.")
        << QString::fromUtf8("<TR><TD><B>Preise für 100 Stück</B>:</TD>") + reduced;
    QTest::newRow("unknown status") << 0 << 100 << 3 << QStringLiteral("Unbekannt")
                                    << QString::fromUtf8("<TR><TD><B>Preise für 100 Stück</B>:</TD>") +
                                           reduced;
}

void tst_dialogs::infoStatusAndRates() {
    QFETCH(int, status);
    QFETCH(int, priceUnit);
    QFETCH(int, vatClass);
    QFETCH(QString, statusCell);
    QFETCH(QString, priceRow);
    Article a = transistor();
    a.status = status;
    a.priceUnit = priceUnit;
    a.vatClass = vatClass;
    a.priceTiers = {{-3, 1.07}};
    const QString html = infoHtml(a);
    QVERIFY2(html.contains(QStringLiteral("<TR><TD><B>Status</B>:</TD><TD>") + statusCell +
                           QStringLiteral("</TD></TR>\n<TR><TD><B>")),
             qPrintable(html));
    QVERIFY2(html.endsWith(priceRow + QStringLiteral("</TABLE></CENTER></QT>\n")), qPrintable(html));
}

void tst_dialogs::orderDocument() {
    QString out = QStringLiteral("stale");
    buildArticleOrderHtml(resistorWithoutPrices(), out);
    QCOMPARE(out,
             QString::fromUtf8("<QT><CENTER><TABLE>\n"
                               "<TR><TD><B>Name</B>:</TD><TD>&lt;1 Ohm R&amp;S</TD></TR>\n"
                               "<TR><TD><B>Beschreibung</B>:</TD><TD>Widerstand ±5% &lt;b&gt;</TD></TR>\n"
                               "<TR><TD><B>1 VPE enthält</B>:</TD><TD>-5 Stück</TD></TR>\n"
                               "</TABLE></CENTER></QT>\n"));
}

void tst_dialogs::infoDialog() {
    vxArticleInfoDialog dialog(resistorWithoutPrices());
    auto* view = dialog.findChild<QTextBrowser*>(QStringLiteral("teArticleInfo"));
    QVERIFY(view);
    QVERIFY(view->isReadOnly());
    // The article texts show as written, not as markup.
    QVERIFY(view->toPlainText().contains(QStringLiteral("<1 Ohm R&S")));
    QVERIFY(view->toPlainText().contains(QString::fromUtf8("Widerstand ±5% <b>")));
    auto* box = qobject_cast<QGroupBox*>(view->parentWidget());
    QVERIFY(box);
    QCOMPARE(box->title(), QStringLiteral("Artikel-Info"));
    for (const char* name : {"pbPrint", "pbOK"}) {
        auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
        QVERIFY(button);
        QCOMPARE(button->minimumSize(), button->maximumSize());
    }
    QCOMPARE(dialog.size(), QSize(550, 400));

    answerNextModal([](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("pbOK"))->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void tst_dialogs::infoDialogPrintCancelled() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("info.pdf"));
    vxArticleInfoDialog dialog(transistor());
    bool printDialogSeen = false;
    answerNextModal([&](QWidget* w) {
        answerNextModal("QPrintDialog", [&](QWidget* print) {
            printDialogSeen = true;
            auto* printDialog = static_cast<QPrintDialog*>(print);
            printDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            printDialog->printer()->setOutputFileName(path);
            printDialog->reject();
        });
        w->findChild<QPushButton*>(QStringLiteral("pbPrint"))->click();
        w->findChild<QPushButton*>(QStringLiteral("pbOK"))->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(printDialogSeen);
    QVERIFY(!QFile::exists(path));
}

void tst_dialogs::orderDialog_data() {
    QTest::addColumn<Article>("article");
    QTest::addColumn<DialogAction>("action");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shownAtStart");
    QTest::addColumn<QString>("shownAtEnd");
    QTest::addColumn<int>("stored");

    const QString ok = QStringLiteral("pbOK"), cancel = QStringLiteral("pbCancel");
    const DialogAction nothing = [](QLineEdit*) {};
    const DialogAction erase = [](QLineEdit* le) {
        le->selectAll();
        QTest::keyClick(le, Qt::Key_Backspace);
    };
    Article noPrices = withMinimum(1);
    noPrices.priceTiers.clear();

    // clang-format off
    QTest::newRow("OK at once") << withMinimum(10) << nothing << ok << "10" << "10" << 10;
    QTest::newRow("below the minimum") << withMinimum(10) << typeOver("2") << ok << "10" << "10" << 10;
    QTest::newRow("a digit behind") << withMinimum(10) << type("5") << ok << "10" << "105" << 105;
    QTest::newRow("leading zeros") << withMinimum(5) << paste("007") << ok << "5" << "7" << 7;
    QTest::newRow("between two tiers") << withMinimum(10) << paste("55") << ok << "10" << "55" << 55;
    QTest::newRow("negative") << withMinimum(10, 25) << paste("-40") << ok << "25" << "25" << 25;
    QTest::newRow("cleared") << withMinimum(10) << steps({paste("30"), erase}) << ok << "10" << "" << 30;
    // The 4 alone is below the minimum and brings 25 back; the dialog then holds 250, which Abbruch drops.
    QTest::newRow("Abbruch") << withMinimum(10, 25) << typeOver("40") << cancel << "25" << "250" << 25;
    QTest::newRow("no prices") << noPrices << type("5") << ok << "Keine Preisinformationen!"
                               << "Keine Preisinformationen!" << 0;
    // clang-format on
}

// Runs the order dialog on an article of a group, as ordering from the article list does.
void tst_dialogs::orderDialog() {
    QFETCH(Article, article);
    QFETCH(DialogAction, action);
    QFETCH(QString, button);
    QFETCH(QString, shownAtStart);
    QFETCH(QString, shownAtEnd);
    QFETCH(int, stored);

    SubSubCategory group;
    group.addArticle(transistor());
    group.addArticle(article);
    QString atStart, atEnd;
    answerNextModal([&](QWidget* w) {
        QVERIFY(qobject_cast<vxArticleOrderDialog*>(w));
        auto* field = w->findChild<QLineEdit*>(QStringLiteral("leOrderedUnits"));
        atStart = field->text();
        action(field);
        atEnd = field->text();
        w->findChild<QPushButton*>(button)->click();
    });
    group.orderArticle(1, runArticleOrderDialog);
    QCOMPARE(atStart, shownAtStart);
    QCOMPARE(atEnd, shownAtEnd);
    QCOMPARE(group.articles[1].orderedUnits, stored);
    QCOMPARE(group.articles[0].orderedUnits, 0);
}

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
