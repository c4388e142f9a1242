#include "ui/printing.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr int marginPoints = 72;
constexpr int pointsPerInch = 72;
constexpr int numberGap = 5;
} // namespace

RichTextPages::RichTextPages(const QString& document, QPaintDevice* device) {
    const int mx = (marginPoints * device->logicalDpiX()) / pointsPerInch;
    const int my = (marginPoints * device->logicalDpiY()) / pointsPerInch;
    bodyRect = QRect(mx, my, device->width() - 2 * mx, device->height() - 2 * my);

    text.setDefaultFont(QFont());
    // The one-inch margins are the only ones; the document adds none of its own.
    text.setDocumentMargin(0);
    text.documentLayout()->setPaintDevice(device);
    text.setHtml(document);
    text.setTextWidth(std::max(bodyRect.width(), 0));
    const double laidOut = std::ceil(text.size().height());
    height = laidOut < INT_MAX ? static_cast<int>(laidOut) : INT_MAX;
}

int RichTextPages::pageCount() const {
    if (bodyRect.isEmpty())
        return 0;
    const int h = bodyRect.height();
    // Sheets until page * h reaches the document height; an empty document still gets its first sheet.
    return std::max(1, height / h + (height % h != 0 ? 1 : 0));
}

void RichTextPages::paintPage(QPainter& painter, int page, const QPalette& palette) const {
    if (bodyRect.isEmpty() || page < 1)
        return;
    const int h = bodyRect.height();
    const int sliceTop = (page - 1) * h;

    painter.save();
    painter.setClipRect(bodyRect, Qt::IntersectClip);
    painter.translate(bodyRect.left(), bodyRect.top() - sliceTop);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette;
    context.clip = QRectF(0, sliceTop, bodyRect.width(), h);
    text.documentLayout()->draw(&painter, context);
    painter.restore();

    const QString number = QString::number(page);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(bodyRect.right() - metrics.horizontalAdvance(number),
                     bodyRect.bottom() + metrics.ascent() + numberGap, number);
}

int paintRichTextPages(QPagedPaintDevice* device, const QString& document, const QPalette& palette) {
    const RichTextPages pages(document, device);
    const int count = pages.pageCount();
    if (count == 0)
        return 0;
    QPainter painter;
    if (!painter.begin(device))
        return 0;
    for (int page = 1; page <= count; ++page) {
        if (page > 1 && !device->newPage())
            return page - 1;
        pages.paintPage(painter, page, palette);
    }
    painter.end();
    return count;
}

int printRichTextDocument(QWidget* owner, const QString& document) {
    QPrinter printer;
    printer.setFullPage(true);
    QPrintDialog setup(&printer, owner);
    if (setup.exec() != QDialog::Accepted)
        return 0;
    return paintRichTextPages(&printer, document, owner ? owner->palette() : QPalette());
}
