#include "ui/printing.h"

#include <QtPrintSupport>
#include <QtTest>

namespace {
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

class tst_Printing : public QObject {
    Q_OBJECT

private slots:
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
        const QString path = dir.filePath(QTest::currentDataTag() + QString(".pdf"));
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

private:
    QTemporaryDir dir;
};

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
