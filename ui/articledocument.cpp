#include "ui/articledocument.h"

#include "catalog/latin1.h"

QString articleText(std::string_view bytes) {
    // Catalog texts are plain text: "<1 Ohm" or "R&S" must show as written, not as markup.
    return fromLatin1(bytes).toHtmlEscaped();
}

QString articleDocumentRow(const QString& label, const QString& value) {
    return QLatin1String("<TR><TD><B>") + label + QLatin1String("</B>:</TD><TD>") + value +
           QLatin1String("</TD></TR>\n");
}
