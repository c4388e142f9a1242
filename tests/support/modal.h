#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class QFileDialog;

namespace vxtest {

// Answers the next modal widget (message box, file dialog, article dialog, progress dialog) once it is shown.
// The answer runs from the event loop of that modal widget, so the slot under test can be called right after.
void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// The same for the next modal widget that inherits className ("QPrintDialog"): it waits while another modal
// widget is active, so a dialog opened from inside a modal dialog can be answered too.
void answerNextModal(const char* className, std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Answers the next modal widget for which matches holds, passing over others shown meanwhile (a progress
// dialog before a message box, say).
void answerNextModalMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer,
                             int timeoutMs = 5000);

template <class T> void answerNextModalOf(std::function<void(T*)> answer, int timeoutMs = 5000) {
    answerNextModalMatching([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                            [answer](QWidget* w) { answer(qobject_cast<T*>(w)); }, timeoutMs);
}

// Answers the first modal widget for which ready() holds. It looks on every pass of the event loop, so it
// also catches states that last for a single processEvents() call, such as a progress dialog's label.
void answerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer,
                     int timeoutMs = 5000);

// Convenience answers.
void acceptNextModal();
void rejectNextModal();

// Chooses path in the next QFileDialog and accepts it; a directory dialog is opened at path itself.
void answerNextFileDialog(const QString& path);

// Answers the next file dialog (open file or existing directory) with path, as if typed and accepted.
void acceptNextFileDialog(const QString& path);
// The same for a file dialog already shown; a refused path cancels the dialog with a warning.
void answerFileDialog(QFileDialog* dialog, const QString& path);

// While it lives, every message box that comes up is answered with its default button and its text kept:
// a slot that warns where it should not then fails the test instead of blocking it.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    const QStringList& texts() const { return seen; }

private:
    QTimer timer;
    QStringList seen;
};

// While it lives, answers every modal widget for which matches holds as soon as its event loop runs, without
// polling: for driving a dialog thousands of times in a row.
class ModalAnswerer : public QObject {
public:
    ModalAnswerer(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer);
    ~ModalAnswerer() override;

    int answered() const { return count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> answer;
    int count = 0;
};

// Watches the progress dialogs shown while it lives, through an application event filter, so nothing
// depends on timing: keeps every label and value in the order they came up, and presses the cancel
// button once a given label or value shows.
class ProgressWatcher : public QObject {
public:
    ProgressWatcher();
    ~ProgressWatcher() override;

    void cancelAt(const QString& label) { cancelLabel = label; }
    void cancelAtValue(int value) { cancelValue = value; }

    QStringList labels;
    QList<int> values;
    QString objectName;
    QString cancelText;
    bool modal = false;
    int maximum = 0;
    int minimumDuration = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString cancelLabel;
    int cancelValue = -1;
};

} // namespace vxtest
