#pragma once

#include <QPalette>
#include <QRect>
#include <QTextDocument>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;
class QString;
class QWidget;

// A rich-text document laid out for the sheets of one paint device: one-inch margins on every side, the
// document cut into slices of the body height, and the page number flush right a little below each body.
class RichTextPages {
public:
    RichTextPages(const QString& document, QPaintDevice* device);
    RichTextPages(const RichTextPages&) = delete;
    RichTextPages& operator=(const RichTextPages&) = delete;

    // The body of every sheet in device pixels; empty when the sheet is no larger than its margins.
    QRect body() const { return bodyRect; }
    // Height of the laid-out document in whole device pixels.
    int documentHeight() const { return height; }
    // At least one sheet for any document, none when the body is empty (nothing could be shown).
    int pageCount() const;
    // Paints sheet page (counted from 1) on a painter whose device has the metrics of the layout device.
    void paintPage(QPainter& painter, int page, const QPalette& palette = QPalette()) const;

private:
    QRect bodyRect;
    QTextDocument text;
    int height = 0;
};

// Prints document on a device that is ready for painting (a set-up printer, a PDF writer). Returns the
// number of sheets painted; 0 when the sheet leaves no room inside its margins, and then nothing is started.
int paintRichTextPages(QPagedPaintDevice* device, const QString& document,
                       const QPalette& palette = QPalette());

// Asks for a printer with the print dialog (owner is its parent and lends its palette) and prints document.
// Returns the number of sheets printed, 0 when the dialog was cancelled.
int printRichTextDocument(QWidget* owner, const QString& document);
