#pragma once

#include "ui/vxcentralwidget.h"

#include <QStringList>

class QComboBox;
class QTreeView;

namespace vxtest {

// The selectors and the article list driven as a user does, and what the screen shows read back.

// Opens the list of box and confirms entry index with Return, so that the box emits activated() as for a
// choice with the mouse. False when the box could not be opened (hidden or disabled).
bool chooseEntry(QComboBox* box, int index);
// Double-clicks row, scrolled into view.
void doubleClickRow(QTreeView* list, int row);
// Right-clicks row (selecting it; the context menu pops up) and clicks entry in that menu. False when no menu
// came up or it has no such entry.
bool chooseFromRowMenu(QTreeView* list, int row, const QString& entry);
// Answers the next order dialog: types units over the field's text, then OK or Abbruch.
void answerNextOrderDialog(const QString& units, bool ok);
// Shows group (c, s, ss) of a shown view through its three selectors and orders the article named name
// there with units. False when an entry, the row or its menu entry is missing.
bool orderFromGroup(vxCentralWidget* view, int c, int s, int ss, const QString& name, const QString& units);

// What the screen shows: the entries of box, the current one marked with a leading '*'; the list's rows as
// its model tells them (hidden columns included); the index path in a row's hidden columns; the first row
// named name or -1; the one selected row or -1.
QStringList markedEntries(const QComboBox* box);
int rowCount(const QTreeView* list);
QString cellText(const QTreeView* list, int row, int column);
IndexPath rowPath(const QTreeView* list, int row);
int rowNamed(const QTreeView* list, const QString& name);
int selectedRow(const QTreeView* list);

} // namespace vxtest
