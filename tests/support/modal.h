#pragma once

#include <QString>
#include <QWidget>
#include <functional>

// Answers the next modal widget (message box, file dialog, article dialog, progress dialog) once it is shown.
// The answer runs from the event loop of that modal widget, so the slot under test can be called right after.
void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Answers the first modal widget for which ready() holds. It looks on every pass of the event loop, so it
// also catches states that last for a single processEvents() call, such as a progress dialog's label.
void answerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer,
                     int timeoutMs = 5000);

// Convenience answers.
void acceptNextModal();
void rejectNextModal();

// Answers the next file dialog (open file or existing directory) with path, as if typed and accepted.
void acceptNextFileDialog(const QString& path);
// The same for a file dialog already shown; a refused path cancels the dialog with a warning.
class QFileDialog;
void answerFileDialog(QFileDialog* dialog, const QString& path);
