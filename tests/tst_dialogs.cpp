#include "catalog/subsubcategory.h"
#include "support/modal.h"
#include "ui/vxarticleinfodialog.h"
#include "ui/vxarticleorderdialog.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

using namespace vxtest;

namespace {
Article article(const char* name, int status, int priceUnit, int vatClass, std::vector<PriceTier> tiers) {
    Article a;
    a.name = name;
    a.description = "Transistor NPN 45V 0,1A";
    a.otherNames = "BC547; BC 547 B";
    a.status = status;
    a.priceUnit = priceUnit;
    a.vatClass = vatClass;
    a.packingUnit = 10;
    a.priceTiers = std::move(tiers);
    return a;
}
Article transistor() {
    return article("BC547B", 1, 100, 1, {{10, 2.38}, {50, 1.16}});
}
// Latin-1 bytes and markup characters in every text, no prices.
Article resistor() {
    Article a = article("<1 Ohm R&S", 3, 1, 2, {});
    a.description = "Widerstand \xB1"
                    "5% <b>";
    a.otherNames = "A&B";
    a.packingUnit = -5;
    return a;
}
QString row(const char* label, const char* value) {
    return QString::fromUtf8("<TR><TD><B>%1</B>:</TD><TD>%2</TD></TR>\n")
        .arg(label, QString::fromUtf8(value));
}
} // namespace

class tst_Dialogs : public QObject {
    Q_OBJECT

private slots:
    void documents();
    void statusAndRates_data();
    void statusAndRates();
    void infoDialog();
    void orderDialog_data();
    void orderDialog();
};

// The article documents, into an output string that held something before.
void tst_Dialogs::documents() {
    QString info = "alt", noPrices = "alt", order = "alt";
    buildArticleInfoHtml(transistor(), info);
    QCOMPARE(info,
             "<QT><CENTER><TABLE>\n" + row("Name", "BC547B") +
                 row("Beschreibung", "Transistor NPN 45V 0,1A") + row("Weitere Namen", "BC547; BC 547 B") +
                 row("Status", "Lagertyp, wird nach Möglichkeit stets ab Lager angeboten (wenn auch "
                               "vielleicht nicht immer in der gewünschten Menge).") +
                 row("1 VPE enthält", "10 Stück") +
                 QString::fromUtf8(
                     "<TR><TD><B>Preise für 100 Stück</B>:</TD><TD><TABLE>\n"
                     "<TR><TH ALIGN=CENTER>Menge</TH><TH ALIGN=CENTER>Netto</TH><TH ALIGN=CENTER>Brutto<BR>"
                     "(incl. 16%)</TH></TR>\n"
                     "<TR><TD ALIGN=RIGHT>10</TD><TD ALIGN=RIGHT>2.05</TD><TD ALIGN=RIGHT>2.38</TD></TR>\n"
                     "<TR><TD ALIGN=RIGHT>50</TD><TD ALIGN=RIGHT>1.00</TD><TD ALIGN=RIGHT>1.16</TD></TR>\n"
                     "</TABLE>\n</TD></TR>\n</TABLE></CENTER></QT>\n"));

    buildArticleInfoHtml(resistor(), noPrices);
    const QString head = "<QT><CENTER><TABLE>\n" + row("Name", "&lt;1 Ohm R&amp;S") +
                         row("Beschreibung", "Widerstand ±5% &lt;b&gt;");
    QCOMPARE(noPrices,
             head + row("Weitere Namen", "A&amp;B") +
                 row("Status", "<B>B</B> = Bestellung erforderlich, der Artikel wird nur auf "
                               "Kundenwunsch bestellt.") +
                 row("1 VPE enthält", "-5 Stück") +
                 row("Preise für 1 Stück", "Keine Preisinformationen vorhanden! Bitte fragen Sie bei "
                                           "Korvel electronics nach.") +
                 "</TABLE></CENTER></QT>\n");

    buildArticleOrderHtml(resistor(), order);
    QCOMPARE(order, head + row("1 VPE enthält", "-5 Stück") + "</TABLE></CENTER></QT>\n");
}

void tst_Dialogs::statusAndRates_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("priceUnit");
    QTest::addColumn<int>("vatClass");
    QTest::addColumn<QString>("statusCell"); // its start
    QTest::addColumn<QString>("pieces");
    QTest::newRow("R, per piece, 7%") << 2 << 1 << 2 << "<B>R</B> = Restbestand im Lager, wenn"
                                      << "1";
    QTest::newRow("A, price unit 0, VAT class 0") << 4 << 0 << 0 << "<B>A</B> = Ausverkauf, wenn"
                                                  << "100";
    QTest::newRow("unknown status, VAT class 3") << 0 << 100 << 3 << "Unbekannt</TD>"
                                                 << "100";
}

// Every rate but class 1 is the reduced one; every price unit but 1 means 100 pieces.
void tst_Dialogs::statusAndRates() {
    QFETCH(int, status);
    QFETCH(int, priceUnit);
    QFETCH(int, vatClass);
    QFETCH(QString, statusCell);
    QFETCH(QString, pieces);
    QString html;
    buildArticleInfoHtml(article("X", status, priceUnit, vatClass, {{-3, 1.07}}), html);
    for (const QString& part :
         {"<TR><TD><B>Status</B>:</TD><TD>" + statusCell,
          QString::fromUtf8("<B>Preise für ") + pieces + QString::fromUtf8(" Stück</B>"),
          QString("(incl. 7%)</TH></TR>\n<TR><TD ALIGN=RIGHT>-3</TD><TD ALIGN=RIGHT>1.00"
                  "</TD><TD ALIGN=RIGHT>1.07</TD></TR>\n</TABLE>\n</TD></TR>\n")})
        QVERIFY2(html.contains(part), qPrintable(html));
}

// The texts show as written, not as markup; a cancelled print dialog prints nothing; OK closes.
void tst_Dialogs::infoDialog() {
    QTemporaryDir dir;
    vxArticleInfoDialog dialog(resistor());
    QString shown;
    answerNextModal([&](QWidget* w) {
        shown = w->findChild<QTextBrowser*>("teArticleInfo")->toPlainText();
        answerNextModal("QPrintDialog", [&](QWidget* print) {
            static_cast<QPrintDialog*>(print)->printer()->setOutputFileName(dir.filePath("info.pdf"));
            static_cast<QPrintDialog*>(print)->reject();
        });
        w->findChild<QPushButton*>("pbPrint")->click();
        w->findChild<QPushButton*>("pbOK")->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY2(shown.contains("<1 Ohm R&S") && shown.contains("Widerstand ±5% <b>"), qPrintable(shown));
    QVERIFY(!QFile::exists(dir.filePath("info.pdf")));
}

void tst_Dialogs::orderDialog_data() {
    QTest::addColumn<int>("minimum");       // of the first tier; 0: no prices
    QTest::addColumn<int>("ordered");       // before
    QTest::addColumn<QStringList>("steps"); // keys typed ("t"), typed over all ("o"), pasted over all ("p")
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown"); // at the start and at the end
    QTest::addColumn<int>("stored");
    // clang-format off
    QTest::newRow("OK at once") << 10 << 0 << QStringList() << "pbOK" << "10 10" << 10;
    QTest::newRow("below the minimum") << 10 << 0 << QStringList{"o2"} << "pbOK" << "10 10" << 10;
    QTest::newRow("a digit behind") << 10 << 0 << QStringList{"t5"} << "pbOK" << "10 105" << 105;
    QTest::newRow("leading zeros") << 5 << 0 << QStringList{"p007"} << "pbOK" << "5 7" << 7;
    QTest::newRow("between two tiers") << 10 << 0 << QStringList{"p55"} << "pbOK" << "10 55" << 55;
    QTest::newRow("negative") << 10 << 25 << QStringList{"p-40"} << "pbOK" << "25 25" << 25;
    QTest::newRow("cleared") << 10 << 0 << QStringList{"p30", "o\b"} << "pbOK" << "10 " << 30;
    // The 4 alone is below the minimum and brings 25 back; the dialog then holds 250, which Abbruch drops.
    QTest::newRow("Abbruch") << 10 << 25 << QStringList{"o40"} << "pbCancel" << "25 250" << 25;
    QTest::newRow("no prices") << 0 << 0 << QStringList{"t5", "p5"} << "pbOK"
                               << "Keine Preisinformationen! Keine Preisinformationen!" << 0;
    // clang-format on
}

// Runs the order dialog on the second article of a group, as ordering from the article list does.
void tst_Dialogs::orderDialog() {
    QFETCH(int, minimum);
    QFETCH(int, ordered);
    QFETCH(QStringList, steps);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    SubSubCategory group;
    group.addArticle(transistor());
    Article a = transistor();
    a.priceTiers =
        minimum ? std::vector<PriceTier>{{minimum, 1.0}, {minimum * 10, 0.5}} : std::vector<PriceTier>{};
    a.orderedUnits = ordered;
    group.addArticle(a);
    QString texts;
    answerNextModalOf<vxArticleOrderDialog>([&](vxArticleOrderDialog* w) {
        auto* field = w->findChild<QLineEdit*>("leOrderedUnits");
        texts = field->text();
        for (const QString& step : steps) {
            if (step[0] != 't')
                field->selectAll();
            if (step[0] == 'p')
                field->insert(step.mid(1));
            else
                QTest::keyClicks(field, step.mid(1));
        }
        texts += ' ' + field->text();
        w->findChild<QPushButton*>(button)->click();
        QCOMPARE(w->findChild<QPushButton*>(button)->y(), 0); // the buttons' row adds no margin of its own
    });
    group.orderArticle(1, runArticleOrderDialog);
    QCOMPARE(texts, shown);
    QCOMPARE(group.articles[1].orderedUnits, stored);
    QCOMPARE(group.articles[0].orderedUnits, 0);
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
