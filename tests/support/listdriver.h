#pragma once

#include "catalog/category.h"

#include <QStringList>

class QComboBox;
class QWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Drives the selectors and the article list the way a user does and reads back what the screen shows.

// Opens the list of box, makes entry index the highlighted one and confirms it with Return, so that the box
// emits activated() as for a choice with the mouse. False when the box could not be opened (disabled).
bool chooseEntry(QComboBox* box, int index);

// Types text key by key; characters beyond ASCII arrive as key events carrying the text, as from an input
// method.
void typeText(QWidget* widget, const QString& text);

// Double-clicks the middle of row after scrolling it into view.
void doubleClickRow(QTreeWidget* list, QTreeWidgetItem* row);

// The entries of box; the current one is marked with a leading '*'.
QStringList markedEntries(const QComboBox* box);

// Texts of one column of all rows, top to bottom as shown.
QStringList columnTexts(const QTreeWidget* list, int column);
QTreeWidgetItem* rowNamed(const QTreeWidget* list, const QString& name);

// Empty when every row shows the article its hidden index path addresses, else the first row that does not.
QString rowsAgreeWithCatalog(const QTreeWidget* list, const Catalog& catalog);
