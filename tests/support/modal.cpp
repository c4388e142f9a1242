#include "support/modal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace vxtest {

namespace {
struct Pending {
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> answer;
    QElapsedTimer clock;
    int timeoutMs;
    int intervalMs = 10;
};

void poll(std::shared_ptr<Pending> pending) {
    QWidget* w = QApplication::activeModalWidget();
    if (w && (!pending->matches || pending->matches(w))) {
        pending->answer(w);
        return;
    }
    if (pending->clock.elapsed() > pending->timeoutMs)
        return;
    QTimer::singleShot(pending->intervalMs, [=] { poll(pending); });
}
void startPoll(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer, int timeoutMs,
               int intervalMs) {
    auto pending = std::make_shared<Pending>();
    pending->matches = std::move(matches);
    pending->answer = std::move(answer);
    pending->timeoutMs = timeoutMs;
    pending->intervalMs = intervalMs;
    pending->clock.start();
    QTimer::singleShot(0, [=] { poll(pending); });
}
} // namespace

void answerNextModalMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer,
                             int timeoutMs) {
    startPoll(std::move(matches), std::move(answer), timeoutMs, 10);
}

void answerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer, int timeoutMs) {
    startPoll(std::move(ready), std::move(answer), timeoutMs, 0);
}

void answerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    answerNextModalMatching(nullptr, std::move(answer), timeoutMs);
}

void answerNextModal(const char* className, std::function<void(QWidget*)> answer, int timeoutMs) {
    answerNextModalMatching([className](QWidget* w) { return w->inherits(className); }, std::move(answer),
                            timeoutMs);
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

void answerNextFileDialog(const QString& path) {
    answerNextModalOf<QFileDialog>([path](QFileDialog* dialog) {
        // With nothing selected a directory dialog returns the directory it shows.
        if (dialog->fileMode() == QFileDialog::Directory)
            dialog->setDirectory(path);
        else
            dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // public in QDialog, reaches QFileDialog::accept
    });
}

MessageBoxCatcher::MessageBoxCatcher() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.append(box->text());
        if (box->defaultButton())
            box->defaultButton()->click();
        else
            box->reject();
    });
    timer.start(20);
}

ModalAnswerer::ModalAnswerer(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer)
    : matches(std::move(matches)), answer(std::move(answer)) {
    qApp->installEventFilter(this);
}

ModalAnswerer::~ModalAnswerer() {
    qApp->removeEventFilter(this);
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Show || !w || !w->isWindow() || !w->isModal() || !matches(w))
        return false;
    // Shown from exec(): the answer runs once its event loop does.
    QTimer::singleShot(0, w, [this, w] {
        ++count;
        answer(w);
    });
    return false;
}

ProgressWatcher::ProgressWatcher() {
    qApp->installEventFilter(this);
}

ProgressWatcher::~ProgressWatcher() {
    qApp->removeEventFilter(this);
}

bool ProgressWatcher::eventFilter(QObject* watched, QEvent*) {
    auto* dialog = qobject_cast<QProgressDialog*>(watched);
    if (!dialog || !dialog->isVisible())
        return false;
    objectName = dialog->objectName();
    modal = dialog->isModal();
    maximum = dialog->maximum();
    minimumDuration = dialog->minimumDuration();
    if (auto* button = dialog->findChild<QPushButton*>())
        cancelText = button->text();
    if (labels.isEmpty() || labels.constLast() != dialog->labelText())
        labels.append(dialog->labelText());
    if (values.isEmpty() || values.constLast() != dialog->value())
        values.append(dialog->value());
    if (!cancelLabel.isEmpty() && dialog->labelText() == cancelLabel && !dialog->wasCanceled()) {
        cancelLabel.clear();
        dialog->cancel();
    }
    if (cancelValue >= 0 && dialog->value() >= cancelValue && !dialog->wasCanceled()) {
        cancelValue = -1;
        dialog->cancel();
    }
    return false;
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

} // namespace vxtest
