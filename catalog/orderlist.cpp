#include "catalog/orderlist.h"

#include "catalog/latin1.h"

void appendPadded(QString& line, const QString& text, int width, int alignment) {
    if (text.length() >= width) {
        line += text.left(width);
        return;
    }
    const QString fill(width - text.length(), QLatin1Char(' '));
    if (alignment == 1)
        line += fill + text;
    else
        line += text + fill;
}

void appendOrderRowHtml(QString& out, const Article& article) {
    double net = 0.0, gross = 0.0;
    article.orderPrice(net, gross);
    out += QLatin1String("<TR><TD ALIGN=RIGHT>") + QString::number(article.orderedUnits) +
           QLatin1String("</TD><TD ALIGN=LEFT>") + fromLatin1(article.name).toHtmlEscaped() +
           QLatin1String("</TD><TD ALIGN=RIGHT>") + QString::number(net, 'f', 2) +
           QLatin1String("</TD><TD ALIGN=RIGHT>") + QString::number(gross, 'f', 2) +
           QLatin1String("</TD></TR>\n");
}

void appendOrderRowText(QString& out, const Article& article, const QString& separator, int unitsWidth,
                        int nameWidth, int netWidth, int grossWidth) {
    double net = 0.0, gross = 0.0;
    article.orderPrice(net, gross);
    appendPadded(out, QString::number(article.orderedUnits), unitsWidth, 1);
    out += separator;
    appendPadded(out, fromLatin1(article.name), nameWidth, 0);
    out += separator;
    appendPadded(out, QString::number(net, 'f', 2), netWidth, 1);
    out += separator;
    appendPadded(out, QString::number(gross, 'f', 2), grossWidth, 1);
    out += QLatin1Char('\n');
}
