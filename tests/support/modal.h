#pragma once

#include <QWidget>
#include <functional>

// Answers the next modal widget (message box, file dialog, article dialog, progress dialog) once it is shown.
// The answer runs from the event loop of that modal widget, so the slot under test can be called right after.
void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// The same for the next modal widget that inherits className ("QPrintDialog"): it waits while another modal
// widget is active, so a dialog opened from inside a modal dialog can be answered too.
void answerNextModal(const char* className, std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Convenience answers.
void acceptNextModal();
void rejectNextModal();
