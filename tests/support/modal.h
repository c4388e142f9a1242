#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QFileDialog;

namespace vxtest {

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

} // namespace vxtest
