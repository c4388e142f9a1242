#pragma once

#include "ui/vxcentralwidget.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QComboBox;
class QFileDialog;
class QTreeView;

namespace vxtest {

// The GUI driven as a user does: answers to modal dialogs, the selectors and the article list, and what the
// screen shows read back.

// Answers the next modal widget for which matches holds (any, when null) once its event loop runs, passing
// over others shown meanwhile, so that the slot under test can be called right after.
void answerNextModalMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer);
template <class T> void answerNextModalOf(std::function<void(T*)> answer) {
    answerNextModalMatching([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                            [answer](QWidget* w) { answer(qobject_cast<T*>(w)); });
}
void rejectNextModal();

// Chooses path in the next QFileDialog and accepts it; a directory dialog is opened at path itself.
void answerNextFileDialog(const QString& path);
// Types path into a shown file dialog and confirms it as a user does; a refused path cancels the dialog.
void answerFileDialog(QFileDialog* dialog, const QString& path);

// While it lives, every message box is answered with its default button and its text kept: a slot that
// warns where it should not then fails the test instead of blocking it.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    const QStringList& texts() const { return seen; }
    // Boxes that offer button (a question's "Ja" or "Nein") are answered with it instead.
    void answerWith(int button) { choice = button; }

private:
    QTimer timer;
    QStringList seen;
    int choice = 0;
};

// Watches the progress dialogs shown while it lives, through an application event filter, so nothing
// depends on timing: keeps every label and value in order, and cancels once a given label or value shows.
class ProgressWatcher : public QObject {
public:
    ProgressWatcher() { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }

    void cancelAt(const QString& label) { cancelLabel = label; }
    void cancelAtValue(int value) { cancelValue = value; }

    QStringList labels;
    QList<int> values;
    QString cancelText;
    int maximum = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString cancelLabel;
    int cancelValue = -1;
};

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
// named name or -1.
QStringList markedEntries(const QComboBox* box);
int rowCount(const QTreeView* list);
QString cellText(const QTreeView* list, int row, int column);
IndexPath rowPath(const QTreeView* list, int row);
int rowNamed(const QTreeView* list, const QString& name);

} // namespace vxtest
