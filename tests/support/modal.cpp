#include "support/modal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {
void poll(std::shared_ptr<std::function<void(QWidget*)>> answer, std::shared_ptr<QElapsedTimer> clock,
          int timeoutMs, const char* className) {
    QWidget* w = QApplication::activeModalWidget();
    if (w && (!className || w->inherits(className))) {
        (*answer)(w);
        return;
    }
    if (clock->elapsed() > timeoutMs)
        return;
    QTimer::singleShot(10, [=] { poll(answer, clock, timeoutMs, className); });
}

void schedule(const char* className, std::function<void(QWidget*)> answer, int timeoutMs) {
    auto fn = std::make_shared<std::function<void(QWidget*)>>(std::move(answer));
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(fn, clock, timeoutMs, className); });
}
} // namespace

void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    schedule(nullptr, std::move(answer), timeoutMs);
}

void answerNextModal(const char* className, std::function<void(QWidget*)> answer, int timeoutMs) {
    schedule(className, std::move(answer), timeoutMs);
}

void acceptNextModal() {
    answerNextModal([](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->defaultButton())
            box->defaultButton()->click();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->accept();
    });
}

void rejectNextModal() {
    answerNextModal([](QWidget* w) {
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
    });
}
