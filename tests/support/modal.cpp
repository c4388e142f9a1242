#include "support/modal.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {
struct Poll {
    std::function<bool(QWidget*)> ready;
    std::function<void(QWidget*)> answer;
    QElapsedTimer clock;
    int timeoutMs;
    int intervalMs;
};

void poll(std::shared_ptr<Poll> p) {
    QWidget* w = QApplication::activeModalWidget();
    if (w && p->ready(w)) {
        p->answer(w);
        return;
    }
    if (p->clock.elapsed() > p->timeoutMs)
        return;
    QTimer::singleShot(p->intervalMs, [=] { poll(p); });
}

void startPoll(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer, int timeoutMs,
               int intervalMs) {
    auto p = std::make_shared<Poll>(Poll{std::move(ready), std::move(answer), {}, timeoutMs, intervalMs});
    p->clock.start();
    QTimer::singleShot(0, [=] { poll(p); });
}
} // namespace

void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    startPoll([](QWidget*) { return true; }, std::move(answer), timeoutMs, 10);
}

void answerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer,
                     int timeoutMs) {
    startPoll(std::move(ready), std::move(answer), timeoutMs, 0);
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

void answerFileDialog(QFileDialog* dialog, const QString& path) {
    // Typed and confirmed like a user: QFileDialog::selectFile() followed by accept() is not taken on every
    // platform.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (name && buttons && buttons->button(QDialogButtonBox::Open)) {
        name->setText(QDir::cleanPath(path));
        buttons->button(QDialogButtonBox::Open)->click();
    }
    // A refused path would leave the test waiting forever: cancel instead.
    if (dialog->isVisible()) {
        qWarning("file dialog refused %s", qPrintable(path));
        dialog->reject();
    }
}

void acceptNextFileDialog(const QString& path) {
    answerModalWhen([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                    [path](QWidget* w) { answerFileDialog(static_cast<QFileDialog*>(w), path); });
}
