#pragma once

#include <QString>
#include <string>
#include <string_view>

// Pieces shared by the two article documents.

// A catalog text (Latin-1 bytes) ready to be placed in a document, shown exactly as written.
QString articleText(std::string_view bytes);
// One row of the article table: bold label with a colon, then the value.
QString articleDocumentRow(const QString& label, const QString& value);
