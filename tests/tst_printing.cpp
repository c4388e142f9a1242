#include "support/modal.h"
#include "ui/printing.h"

#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace vxtest;

namespace {
// Lines of a fixed height, so that the document height does not depend on the fonts installed.
QString fixedLines(int count) {
    QString html;
    for (int i = 1; i <= count; ++i)
        html += QStringLiteral("<p style=\"margin:0; line-height:40px\">Zeile %1</p>").arg(i);
    return html;
}

// At 72 dpi a device pixel is a point: the margin is 72 and the sizes are exact.
void setUpPdf(QPrinter& printer, const QString& path, int width, int height) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setFullPage(true);
    printer.setResolution(72);
    printer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

// Bounding box of everything not white inside area.
QRect inkBounds(const QImage& image, const QRect& area) {
    QRect ink;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QImage blankSheet(int width, int height, int dpiX, int dpiY) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    image.fill(Qt::white);
    return image;
}
} // namespace

class tst_printing : public QObject {
    Q_OBJECT

private slots:
    void pageCount_data();
    void pageCount();
    void sheetWithoutBody_data();
    void sheetWithoutBody();
    void marginsAndPageNumbers_data();
    void marginsAndPageNumbers();
    void printDialog_data();
    void printDialog();
};

void tst_printing::pageCount_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("bodiesPerDocument"); // body height = document height / this + extra
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("pages");

    QTest::newRow("short") << QStringLiteral("<b>Kurz</b>") << 1 << 100 << 1;
    QTest::newRow("empty") << QString() << 1 << 100 << 1;
    QTest::newRow("exactly one body") << fixedLines(10) << 1 << 0 << 1;
    QTest::newRow("exactly two bodies") << fixedLines(10) << 2 << 0 << 2;
    QTest::newRow("one body and a pixel") << fixedLines(10) << 1 << -1 << 2;
}

void tst_printing::pageCount() {
    QFETCH(QString, document);
    QFETCH(int, bodiesPerDocument);
    QFETCH(int, extra);
    QFETCH(int, pages);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.pdf"));

    QPrinter probe;
    setUpPdf(probe, dir.filePath(QStringLiteral("probe.pdf")), 400, 600);
    const int height = RichTextPages(document, &probe).documentHeight();
    QVERIFY(height > 0);
    QCOMPARE(height % bodiesPerDocument, 0);
    const int body = height / bodiesPerDocument + extra;

    QPrinter printer;
    setUpPdf(printer, path, 400, body + 2 * 72);
    const RichTextPages layout(document, &printer);
    QCOMPARE(layout.body(), QRect(72, 72, 400 - 2 * 72, body));
    QCOMPARE(layout.documentHeight(), height);
    QCOMPARE(paintRichTextPages(&printer, document), pages);
    QCOMPARE(pdfPageCount(path), pages);
}

void tst_printing::sheetWithoutBody_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("body height zero") << 400 << 144;
    QTest::newRow("body height negative") << 400 << 100;
    QTest::newRow("body width zero") << 144 << 400;
    QTest::newRow("smaller than margins") << 100 << 100;
}

void tst_printing::sheetWithoutBody() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.pdf"));
    QPrinter printer;
    setUpPdf(printer, path, width, height);
    QCOMPARE(RichTextPages(fixedLines(3), &printer).pageCount(), 0);
    QCOMPARE(paintRichTextPages(&printer, fixedLines(3)), 0);
    QVERIFY(!QFile::exists(path));
}

void tst_printing::marginsAndPageNumbers_data() {
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::newRow("96 dpi") << 96 << 96;
    QTest::newRow("96 x 120 dpi") << 96 << 120;
    QTest::newRow("150 x 100 dpi") << 150 << 100;
}

// A black table as wide as the text and taller than a body shows exactly where each slice lands.
void tst_printing::marginsAndPageNumbers() {
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    const int width = 700, height = 800;
    const QString document = QStringLiteral("<table width=\"100%\" bgcolor=\"#000000\" cellspacing=\"0\" "
                                            "cellpadding=\"0\" border=\"0\"><tr><td>") +
                             fixedLines(25) + QStringLiteral("</td></tr></table>");
    QImage sheet = blankSheet(width, height, dpiX, dpiY);
    const RichTextPages pages(document, &sheet);
    const QRect body(dpiX, dpiY, width - 2 * dpiX, height - 2 * dpiY);
    QCOMPARE(pages.body(), body);
    QVERIFY(pages.pageCount() >= 2);
    QCOMPARE(pages.pageCount(), (pages.documentHeight() + body.height() - 1) / body.height());

    for (int page = 1; page <= pages.pageCount(); ++page) {
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        pages.paintPage(painter, page);
        painter.end();

        const int sliceHeight = std::min(body.height(), pages.documentHeight() - (page - 1) * body.height());
        QCOMPARE(inkBounds(sheet, body), QRect(body.left(), body.top(), body.width(), sliceHeight));
        QCOMPARE(inkBounds(sheet, QRect(0, 0, width, body.top())), QRect());
        QCOMPARE(inkBounds(sheet, QRect(0, 0, body.left(), height)), QRect());
        QCOMPARE(inkBounds(sheet, QRect(body.right() + 1, 0, width, height)), QRect());

        // The number alone lies below the body: flush with its right edge, baseline ascent + 5 below it.
        QImage expected = blankSheet(width, height, dpiX, dpiY);
        QPainter reference(&expected);
        const QString number = QString::number(page);
        const QFontMetrics metrics = reference.fontMetrics();
        reference.drawText(body.right() - metrics.horizontalAdvance(number),
                           body.bottom() + metrics.ascent() + 5, number);
        reference.end();
        const QRect below(0, body.bottom() + 1, width, height);
        QVERIFY(!inkBounds(expected, below).isEmpty());
        QCOMPARE(inkBounds(sheet, below), inkBounds(expected, below));
        QCOMPARE(sheet.copy(below), expected.copy(below));
    }
}

void tst_printing::printDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("cancelled") << false;
    QTest::newRow("accepted") << true;
}

void tst_printing::printDialog() {
    QFETCH(bool, accept);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dialog.pdf"));
    QWidget owner;
    answerNextModal("QPrintDialog", [&](QWidget* w) {
        auto* dialog = static_cast<QPrintDialog*>(w);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(path);
        // done() rather than accept(): accept() would take the printer back from the dialog's own fields.
        dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    const int printed = printRichTextDocument(&owner, QStringLiteral("<b>Bestellliste</b>"));
    QCOMPARE(printed, accept ? 1 : 0);
    QCOMPARE(QFile::exists(path), accept);
    if (accept)
        QCOMPARE(pdfPageCount(path), 1);
}

QTEST_MAIN(tst_printing)
#include "tst_printing.moc"
