#include "catalog/subsubcategory.h"
#include "support/modal.h"
#include "ui/vxarticleinfodialog.h"
#include "ui/vxarticleorderdialog.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

namespace {
// clang-format off
// Fields in order: group, name, description, other names, status, price unit, VAT, packing, ordered, tiers.
const Article transistor{"", "BC547B", "Transistor NPN 45V 0,1A", "BC547; BC 547 B", 1, 100, 1, 10, 0,
                         {{10, 2.38}, {50, 1.16}}};
// Latin-1 bytes and markup characters in every text, no prices.
const Article resistor{"", "<1 Ohm R&S", "Widerstand \xB1" "5% <b>", "A&B", 3, 1, 2, -5, 0, {}};
// clang-format on
QString row(const char* label, const char* value) {
    return QString("<TR><TD><B>%1</B>:</TD><TD>%2</TD></TR>\n").arg(label, value);
}
} // namespace

class tst_Dialogs : public QObject {
    Q_OBJECT

private slots:
    // The article documents, into an output string that held something before.
    void documents() {
        QString info = "alt", noPrices = "alt", order = "alt";
        buildArticleInfoHtml(transistor, info);
        // clang-format off
        const QString prices = "<TR><TD><B>Preise für 100 Stück</B>:</TD><TD><TABLE>\n<TR><TH ALIGN=CENTER>"
                               "Menge</TH><TH ALIGN=CENTER>Netto</TH><TH ALIGN=CENTER>Brutto<BR>(incl. ";
        QCOMPARE(info, "<QT><CENTER><TABLE>\n" + row("Name", "BC547B") +
            row("Beschreibung", "Transistor NPN 45V 0,1A") + row("Weitere Namen", "BC547; BC 547 B") +
            row("Status", "Lagertyp, wird nach Möglichkeit stets ab Lager angeboten (wenn auch vielleicht "
                          "nicht immer in der gewünschten Menge).") + row("1 VPE enthält", "10 Stück") +
            prices + "16%)</TH></TR>\n"
            "<TR><TD ALIGN=RIGHT>10</TD><TD ALIGN=RIGHT>2.05</TD><TD ALIGN=RIGHT>2.38</TD></TR>\n"
            "<TR><TD ALIGN=RIGHT>50</TD><TD ALIGN=RIGHT>1.00</TD><TD ALIGN=RIGHT>1.16</TD></TR>\n"
            "</TABLE>\n</TD></TR>\n</TABLE></CENTER></QT>\n");
        buildArticleInfoHtml(resistor, noPrices);
        const QString head = "<QT><CENTER><TABLE>\n" + row("Name", "&lt;1 Ohm R&amp;S") +
                             row("Beschreibung", "Widerstand ±5% &lt;b&gt;");
        QCOMPARE(noPrices, head + row("Weitere Namen", "A&amp;B") +
            row("Status", "<B>B</B> = Bestellung erforderlich, der Artikel wird nur auf Kundenwunsch "
                          "bestellt.") + row("1 VPE enthält", "-5 Stück") + row("Preise für 1 Stück",
            "Keine Preisinformationen vorhanden! Bitte fragen Sie bei Korvel electronics nach.") +
            "</TABLE></CENTER></QT>\n");
        buildArticleOrderHtml(resistor, order);
        QCOMPARE(order, head + row("1 VPE enthält", "-5 Stück") + "</TABLE></CENTER></QT>\n");
        // Unknown status; any VAT class but 1 is the reduced rate, any price unit but 1 means 100 pieces.
        Article other = transistor;
        other.status = other.priceUnit = other.vatClass = 0;
        buildArticleInfoHtml(other, info);
        QVERIFY2(info.contains("<B>Status</B>:</TD><TD>Unbekannt</TD>") && info.contains(prices +
                 "7%)</TH></TR>\n<TR><TD ALIGN=RIGHT>10</TD><TD ALIGN=RIGHT>2.22</TD>"), qPrintable(info));
        // clang-format on
    }
    // The info dialog's text fills it above its buttons; a print cancelled in its dialog writes nothing.
    void infoDialog() {
        QTemporaryDir temp;
        QString shown;
        answerNextModalOf<vxArticleInfoDialog>([&](vxArticleInfoDialog* dialog) {
            const auto* text = dialog->findChild<QTextBrowser*>("teArticleInfo");
            if (text->width() > dialog->width() * 3 / 4 && text->height() > dialog->height() / 2)
                shown = text->toPlainText().section('\n', 1, 2);
            answerNextModalOf<QPrintDialog>([&](QPrintDialog* print) {
                print->printer()->setOutputFileName(temp.filePath("info.pdf"));
                print->reject();
            });
            dialog->findChild<QPushButton*>("pbPrint")->click();
            dialog->findChild<QPushButton*>("pbOK")->click();
        });
        showArticleInfoDialog(transistor);
        QCOMPARE(shown, "Name:\nBC547B");
        QVERIFY(QDir(temp.path()).isEmpty());
    }
    void orderDialog_data() {
        QTest::addColumn<int>("minimum"); // of the first tier, the second is ten times that; 0: none
        QTest::addColumn<int>("ordered"); // before
        // Keys typed ("t"), typed over all ("o"), pasted over all ("p").
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown"); // at the start and at the end
        QTest::addColumn<int>("stored");
        QTest::newRow("below the minimum") << 10 << 0 << QStringList{"o2"} << "10 10" << 10;
        QTest::newRow("a digit behind") << 10 << 0 << QStringList{"t5"} << "10 105" << 105;
        QTest::newRow("leading zeros, between tiers") << 5 << 0 << QStringList{"p007"} << "5 7" << 7;
        QTest::newRow("cleared") << 10 << 0 << QStringList{"p30", "o\b"} << "10 " << 30;
        // -40 and 4 are below the minimum and bring 25 back; the field then holds 250, which Abbruch drops.
        QTest::newRow("Abbruch") << 10 << 25 << QStringList{"p-40", "o40"} << "25 250" << 25;
        QTest::newRow("no prices") << 0 << 0 << QStringList{"t5", "p5"}
                                   << "Keine Preisinformationen! Keine Preisinformationen!" << 0;
    }
    // The order dialog on a group's second article, as from the list; no margin above its buttons.
    void orderDialog() {
        QFETCH(int, minimum);
        QFETCH(QStringList, steps);
        const char* button = QTest::currentDataTag() == QLatin1String("Abbruch") ? "pbCancel" : "pbOK";
        QFETCH(int, ordered);
        SubSubCategory group;
        group.addArticle(transistor);
        group.addArticle({"", "BC547C", "", "", 1, 100, 1, 10, ordered, {}});
        if (minimum > 0)
            group.articles[1].priceTiers = {{minimum, 1.0}, {minimum * 10, 0.5}};
        QString texts;
        answerNextModalOf<vxArticleOrderDialog>([&](vxArticleOrderDialog* w) {
            auto* field = w->findChild<QLineEdit*>("leOrderedUnits");
            texts = field->text();
            for (const QString& step : steps) {
                if (step[0] != 't')
                    field->selectAll();
                step[0] == 'p' ? field->insert(step.mid(1)) : QTest::keyClicks(field, step.mid(1));
            }
            texts += ' ' + field->text();
            w->findChild<QPushButton*>(button)->click();
            QCOMPARE(w->findChild<QPushButton*>(button)->y(), 0);
        });
        group.orderArticle(1, runArticleOrderDialog);
        QTEST(texts, "shown");
        QTEST(group.articles[1].orderedUnits, "stored");
        QCOMPARE(group.articles[0].orderedUnits, 0);
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
