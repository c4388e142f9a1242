#pragma once

#include <QString>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;
class vxCentralWidget;

// Right-clicks row of the article list as a user does (the click selects it, the context menu pops up) and
// clicks entry in that menu. False when no menu came up or it has no such entry.
bool chooseFromRowMenu(QTreeWidget* list, QTreeWidgetItem* row, const QString& entry);

// Answers the next order dialog: types units over the field's text (unless units is null), then presses OK
// or Abbruch.
void answerNextOrderDialog(const QString& units, bool ok);

// Chooses entry index of a selector the way a user's pick arrives: it becomes current and is activated.
void chooseEntry(QComboBox* box, int index);

// The first row of the list whose name column reads name; null when there is none.
QTreeWidgetItem* rowNamed(QTreeWidget* list, const QString& name);

// Shows group (c, s, ss) of view through its three selectors, then orders the article named name there with
// units typed into the order dialog. False when the row or its menu entry is missing.
bool orderFromGroup(vxCentralWidget* view, int c, int s, int ss, const QString& name, const QString& units);
