// How Vendrix fits a German desktop: Qt's own dialogs in German, the command line, names for screen readers;
// the article dialogs and their documents, printing on pages; the main window's menus, About box and
// quitting, and the article list's columns.
#include "app/startup.h"
#include "app/vxmainwindow.h"
#include "catalog/subsubcategory.h"
#include "support/catalogwriter.h"
#include "support/gui.h"
#include "ui/printing.h"
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
// Lines of a fixed height, so that the document height does not depend on the fonts installed.
QString fixedLines(int count) {
    return QString("<p style=\"margin:0; line-height:40px\">Zeile</p>").repeated(count);
}
// At 72 dpi a device pixel is a point: the margin is 72 and the sizes are exact.
void setUpPdf(QPrinter& printer, const QString& path, int width, int height) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setFullPage(true);
    printer.setResolution(72);
    printer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
}
QImage sheet(int width, int height, int dpiX, int dpiY) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    return image;
}
// Bounding box of everything not white inside area.
QRect inkBounds(const QImage& image, const QRect& area) {
    const QImage ink =
        image.copy(area & image.rect()).createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(ink)).boundingRect().translated((area & image.rect()).topLeft());
}
} // namespace

class tst_Desktop : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    std::unique_ptr<vxMainWindow> window;

    template <class T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
private slots:
    void initTestCase() { QVERIFY(installGermanQtTranslations(*qApp)); }
    // Shown the way main() does.
    void init() {
        window = std::make_unique<vxMainWindow>();
        window->setWindowTitle(QStringLiteral("Vendrix"));
        window->resize(600, 450);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Qt's own buttons and dialogs speak German: the translations loaded are Qt's base ones.
    void standardDialogsSpeakGerman() {
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    }

    // Help and version answer without any display.
    void versionAndHelp() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        QStringList printed;
        for (const char* argument : {"--version", "--help"}) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(VX_VENDRIX), {QLatin1String(argument)});
            QVERIFY(process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0);
            printed << QString::fromUtf8(process.readAllStandardOutput());
        }
        QCOMPARE(printed[0], QStringLiteral("vendrix 1.0\n"));
        QVERIFY2(printed[1].contains(QStringLiteral("Aufruf:")) &&
                     printed[1].contains(QStringLiteral("Katalogverzeichnis, das beim Start geöffnet wird.")),
                 qPrintable(printed[1]));
    }

    void accessibleNames() {
        const auto text = [&](const char* name, QAccessible::Text kind = QAccessible::Name) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(child(name));
            return face ? face->text(kind) : QStringLiteral("(not accessible)");
        };
        QStringList names;
        for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory", "leSearch", "cbName",
                                 "cbDescription", "cbOtherNames", "pbSearch", "leOrderCount",
                                 "leOrderSumNetto", "leOrderSumBrutto", "pbOrderList", "lvParts"})
            names << text(name);
        QCOMPARE(names.join('|'),
                 QStringLiteral("Warenhauptgruppe|Warenobergruppe|Warengruppe|Suchen nach|"
                                "Artikelname|Beschreibung|Weitere Namen|Suche starten|Bisher "
                                "bestellte Artikel|Summe netto|Summe brutto|Bestellliste|"
                                "Artikelliste"));
        QVERIFY(text("lvParts", QAccessible::Description).contains(QStringLiteral("Kontextmenü")));
    }

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
    // The info dialog's text fills it above its buttons. Its print shares the order list's, which the monkey
    // test cancels and accepts.
    void infoDialog() {
        QString shown;
        answerNextModalOf<vxArticleInfoDialog>([&](vxArticleInfoDialog* dialog) {
            const auto* text = dialog->findChild<QTextBrowser*>("teArticleInfo");
            if (text->width() > dialog->width() * 3 / 4 && text->height() > dialog->height() / 2)
                shown = text->toPlainText().section('\n', 1, 2);
            dialog->findChild<QPushButton*>("pbOK")->click();
        });
        showArticleInfoDialog(transistor);
        QCOMPARE(shown, "Name:\nBC547B");
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
    void pageBreaks_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("extra"); // body height = document height + extra
        QTest::addColumn<int>("pages"); // 0: the sheet is no larger than its margins, and no file is started
        QTest::newRow("empty") << QString() << 400 << 100 << 1;
        QTest::newRow("exactly one body") << fixedLines(10) << 400 << 0 << 1;
        QTest::newRow("one body and a pixel") << fixedLines(10) << 400 << -1 << 2;
        QTest::newRow("body height zero") << fixedLines(3) << 400 << -120 << 0;
        QTest::newRow("body width zero") << fixedLines(3) << 144 << 0 << 0;
    }
    void pageBreaks() {
        QFETCH(QString, document);
        QFETCH(int, width);
        QFETCH(int, extra);
        QFETCH(int, pages);
        QPrinter printer;
        const QString path = temp.filePath(QTest::currentDataTag() + QString(".pdf"));
        setUpPdf(printer, path, width, 600);
        setUpPdf(printer, path, width, RichTextPages(document, &printer).documentHeight() + extra + 2 * 72);
        QCOMPARE(paintRichTextPages(&printer, document), pages);
        QFile pdf(path);
        QCOMPARE(pdf.open(QIODevice::ReadOnly), pages > 0);
        QCOMPARE(QString::fromLatin1(pdf.readAll()).count(QRegularExpression("/Type\\s*/Page(?![A-Za-z])")),
                 pages);
    }
    // Fonts are laid out for the device's resolution, not the screen's: twice the dots, twice the height.
    void layoutFollowsTheDevice() {
        QImage low = sheet(600, 600, 72, 72), high = sheet(1200, 1200, 144, 144);
        const int lowHeight = RichTextPages("Zeile", &low).documentHeight();
        QVERIFY(qAbs(RichTextPages("Zeile", &high).documentHeight() - 2 * lowHeight) <= 2);
    }
    // A black table as wide as the text and taller than a body shows exactly where each slice lands; the page
    // number alone lies below the body, flush with its right edge, its baseline ascent + 5 below it.
    void marginsAndPageNumbers() {
        const int dpiX = 150, dpiY = 100, width = 700, height = 800; // x and y unequal, not to be swapped
        QImage printed = sheet(width, height, dpiX, dpiY), expected = printed;
        const QString table = "<table width=100% bgcolor=black cellspacing=0 cellpadding=0 border=0><tr><td>";
        const RichTextPages pages(table + fixedLines(25) + "</td></tr></table>", &printed);
        const QRect body(dpiX, dpiY, width - 2 * dpiX, height - 2 * dpiY),
            below(0, body.bottom() + 1, width, height);
        QCOMPARE(pages.body(), body);
        QVERIFY(pages.pageCount() >= 2);
        QCOMPARE(pages.pageCount(), (pages.documentHeight() + body.height() - 1) / body.height());
        for (int page = 1; page <= pages.pageCount(); ++page) {
            printed.fill(Qt::white);
            QPainter painter(&printed);
            pages.paintPage(painter, page);
            painter.end();
            const int slice = std::min(body.height(), pages.documentHeight() - (page - 1) * body.height());
            QCOMPARE(inkBounds(printed, QRect(0, 0, width, body.bottom() + 1)),
                     body.adjusted(0, 0, 0, slice - body.height()));
            expected.fill(Qt::white);
            QPainter reference(&expected);
            const QString number = QString::number(page);
            reference.drawText(body.right() - reference.fontMetrics().horizontalAdvance(number),
                               body.bottom() + reference.fontMetrics().ascent() + 5, number);
            reference.end();
            QVERIFY(!inkBounds(expected, below).isEmpty());
            QCOMPARE(inkBounds(printed, below), inkBounds(expected, below));
        }
    }
    void catalogGivenAtStartAndColumns();
    // Last: it ends the application's event loop.
    void menusAboutBoxAndQuit();
};

// A catalog named on the command line opens as with "Öffnen", a missing one only warns. The columns widen to
// their texts (a burst of rows measured from its first) and never narrow by themselves.
void tst_Desktop::catalogGivenAtStartAndColumns() {
    auto* list = child<QTreeView>("lvParts");
    QStringList titles;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->columnCount(); ++i)
        titles << model->headerData(i, Qt::Horizontal).toString() + (list->isColumnHidden(i) ? "-" : "");
    QCOMPARE(titles.join(' '), "Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- SC- SSC- A-");
    // Aligned as their cells, which tst_rows pins.
    QCOMPARE(model->headerData(ColumnStatus, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignCenter);
    const QFontMetrics metrics(list->font());
    for (int c = ColumnName; c <= ColumnOtherNames; ++c)
        QVERIFY(list->columnWidth(c) >=
                metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()));
    // The first group holds a long name and description, the second only a short name.
    const std::string description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, gegurtet";
    CatalogWriter w;
    w.category("A", "Bauelemente").subCategory("A01", "Passive").subSubCategory("A0101", "lang");
    w.subSubCategory("A0102", "kurz");
    w.article("A0101", "Kohleschichtwiderstand X").describe(description);
    w.article("A0101", "R").describe(description);
    w.article("A0102", "R");
    const QString directory = temp.filePath(QStringLiteral("katalog"));
    QVERIFY(w.writeTo(directory));
    QVERIFY(parseCommandLine({QStringLiteral("vendrix")}).catalog.isEmpty());
    MessageBoxCatcher boxes;
    window->openCatalog(temp.filePath(QStringLiteral("fehlt")));
    QCOMPARE(child<QComboBox>("cbCategory")->count(), 0);
    window->openCatalog(parseCommandLine({QStringLiteral("vendrix"), directory}).catalog);
    QCOMPARE(boxes.texts(), QStringList(QStringLiteral("Die Datei WGHAUPT konnte nicht geöffnet werden!")));
    QStringList shown;
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
        shown << markedEntries(child<QComboBox>(name)).join('/');
    QCOMPARE(shown.join(" | ") + " | " + cellText(list, 0, ColumnName) + "/" + cellText(list, 1, ColumnName),
             "*Bauelemente/Suche/Bestellliste | *Passive | *lang/kurz | Kohleschichtwiderstand X/R");

    QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
    QVERIFY(list->columnWidth(ColumnDescription) >= metrics.horizontalAdvance(description.c_str()));
    list->setColumnWidth(ColumnPackingUnit, 300);
    const int nameWidth = list->columnWidth(ColumnName);
    QVERIFY(chooseEntry(child<QComboBox>("cbSubSubCategory"), 1));
    QVERIFY(rowCount(list) == 1 && cellText(list, 0, ColumnName) == "R");
    QTest::qWait(50);
    QCOMPARE(list->columnWidth(ColumnName), nameWidth);
    QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
}

void tst_Desktop::menusAboutBoxAndQuit() {
    QString menus;
    QHash<QString, QAction*> actions;
    for (const QAction* m : window->menuBar()->actions()) {
        menus += " | " + m->text() + ":";
        for (QAction* a : m->menu()->actions()) {
            actions[a->text()] = a;
            menus += " " + (a->isSeparator() ? "---" : a->text() + a->shortcut().toString());
        }
    }
    // The entries have no shortcuts.
    QCOMPARE(menus,
             QStringLiteral(" | &Katalog: Öffnen Entpacken --- &Beenden | &Bestelliste: Drucken Exportiere "
                            "Text-Datei Exportiere HTML-Datei Exportiere CSV-Datei Importiere CSV-Datei | "
                            "&Info: Über"));
    QString text;
    answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
        text = box->windowTitle() + "|" + box->text();
        box->accept();
    });
    actions["Über"]->trigger();
    QCOMPARE(text.section('\n', 0, 3),
             QStringLiteral("Über Vendrix|Vendrix v1.0\nEin OpenSource-Viewer für "
                            "den elektronischen\nKatalog von Korvel electronics.\n"));
    QVERIFY(!text.section('\n', 4, 4).isEmpty() && !text.section('\n', 5).isEmpty());
    // With an article ordered, closing the window and "Beenden" ask first; "Nein" (also Escape) keeps the
    // window, the catalog and the order as they were.
    CatalogWriter w;
    w.category("A", "A").subCategory("A01", "A").subSubCategory("A0101", "A");
    w.article("A0101", "R").tiers({{1, 100}});
    QVERIFY(w.writeTo(temp.path()));
    auto* view = window->findChild<vxCentralWidget*>();
    window->openCatalog(temp.path());
    QVERIFY(orderFromGroup(view, 0, 0, 0, "R", "3"));
    QStringList questions;
    for (const bool escape : {true, false}) {
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            questions << box->windowTitle() + "|" + box->text();
            escape ? QTest::keyClick(box, Qt::Key_Escape) : box->defaultButton()->click();
        });
        escape ? void(window->close()) : actions["&Beenden"]->trigger();
        QVERIFY(window->isVisible() && child<QLineEdit>("leOrderCount")->text() == "1" &&
                view->currentCatalog().size() == 1);
    }
    QCOMPARE(questions,
             QStringList(2, "Vendrix|Es sind 1 Artikel bestellt. Beim Beenden geht die Bestellliste "
                            "verloren. Trotzdem beenden?"));
    // "Beenden", answered "Ja", ends the program with status 0.
    QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
    answerNextModalOf<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QTimer::singleShot(0, [&] { actions["&Beenden"]->trigger(); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
