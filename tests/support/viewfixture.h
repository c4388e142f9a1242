#pragma once

#include "catalog/category.h"
#include "support/catalogwriter.h"
#include "ui/vxcentralwidget.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

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
// Answers the next order dialog: types units over the field's text (unless null), then OK or Abbruch.
void answerNextOrderDialog(const QString& units, bool ok);
// Shows group (c, s, ss) of a shown view through its three selectors and orders the article named name
// there with units. False when an entry, the row or its menu entry is missing.
bool orderFromGroup(vxCentralWidget* view, int c, int s, int ss, const QString& name, const QString& units);

// What the screen shows: the entries of box, the current one marked with a leading '*'; the list's rows as
// its model tells them (hidden columns included); the index path in a row's hidden columns; one column of all
// rows; the first row named name or -1; the one selected row or -1; the first row that does not show the
// article its index path addresses, empty when there is none.
QStringList markedEntries(const QComboBox* box);
int rowCount(const QTreeView* list);
QString cellText(const QTreeView* list, int row, int column);
IndexPath rowPath(const QTreeView* list, int row);
QStringList columnTexts(const QTreeView* list, int column);
int rowNamed(const QTreeView* list, const QString& name);
int selectedRow(const QTreeView* list);
QString rowsAgreeWithCatalog(const QTreeView* list, const Catalog& catalog);

// The catalog view the GUI suites drive: a shown vxCentralWidget, a scratch directory for the catalogs it
// opens, and its widgets by the object names the program gives them.
class ViewFixture {
public:
    ViewFixture() { reset(); }

    // A fresh view, as after starting the program.
    void reset();
    // Writes the catalog into the scratch directory under name and opens it through "Öffnen". True when a
    // catalog is loaded afterwards.
    bool open(const CatalogWriter& writer, const QString& name = QStringLiteral("katalog"));

    template <class T = QWidget> T* child(const char* name) const {
        return view->findChild<T*>(QLatin1String(name));
    }
    // 0 main group, 1 upper group, 2 group.
    QComboBox* selector(int level) const;
    QTreeView* list() const { return child<QTreeView>("lvParts"); }
    QStringList rowNames() const { return columnTexts(list(), 0); }
    const Catalog& catalog() const { return view->currentCatalog(); }

    // Types text into the search field and presses "Suche starten".
    void search(const QString& text);
    bool order(int c, int s, int ss, const QString& name, const QString& units) {
        return orderFromGroup(view.get(), c, s, ss, name, units);
    }

    std::unique_ptr<vxCentralWidget> view;
    QTemporaryDir temp;
};

} // namespace vxtest
