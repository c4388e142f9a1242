#pragma once

#include "catalog/article.h"

#include <QString>

// Cuts or fills text to exactly width characters; alignment 0 pads on the right, 1 on the left.
// Longer texts are cut on the right whatever the alignment.
void appendPadded(QString& line, const QString& text, int width, int alignment);

// One row of the order list for an ordered article, as HTML and as a fixed-width text line.
void appendOrderRowHtml(QString& out, const Article& article);
void appendOrderRowText(QString& out, const Article& article, const QString& separator, int unitsWidth,
                        int nameWidth, int netWidth, int grossWidth);
