#include "support/modal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include <memory>

namespace vxtest {

namespace {
struct Pending {
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> answer;
    QElapsedTimer clock;
};

// A dialog that never comes is given up after five seconds, rather than answering a later one.
void poll(const std::shared_ptr<Pending>& pending) {
    QWidget* w = QApplication::activeModalWidget();
    if (w && (!pending->matches || pending->matches(w)))
        pending->answer(w);
    else if (pending->clock.elapsed() < 5000)
        QTimer::singleShot(10, [pending] { poll(pending); });
}
} // namespace

void answerNextModalMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer) {
    auto pending = std::make_shared<Pending>(Pending{std::move(matches), std::move(answer), {}});
    pending->clock.start();
    QTimer::singleShot(0, [pending] { poll(pending); });
}

void rejectNextModal() {
    answerNextModalMatching(nullptr, [](QWidget* w) {
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

void answerFileDialog(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (name && buttons && buttons->button(QDialogButtonBox::Open)) {
        name->setText(QDir::cleanPath(path));
        buttons->button(QDialogButtonBox::Open)->click();
    }
    if (dialog->isVisible()) {
        qWarning("file dialog refused %s", qPrintable(path));
        dialog->reject();
    }
}

MessageBoxCatcher::MessageBoxCatcher() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.append(box->text());
            QAbstractButton* chosen = box->button(QMessageBox::StandardButton(choice));
            if (!chosen)
                chosen = box->defaultButton();
            chosen ? chosen->click() : box->reject();
        }
    });
    timer.start(20);
}

bool ProgressWatcher::eventFilter(QObject* watched, QEvent*) {
    auto* dialog = qobject_cast<QProgressDialog*>(watched);
    if (!dialog || !dialog->isVisible())
        return false;
    maximum = dialog->maximum();
    if (auto* button = dialog->findChild<QPushButton*>())
        cancelText = button->text();
    if (labels.isEmpty() || labels.constLast() != dialog->labelText())
        labels.append(dialog->labelText());
    if (values.isEmpty() || values.constLast() != dialog->value())
        values.append(dialog->value());
    const bool atLabel = !cancelLabel.isEmpty() && dialog->labelText() == cancelLabel;
    const bool atValue = cancelValue >= 0 && dialog->value() >= cancelValue;
    if ((atLabel || atValue) && !dialog->wasCanceled()) {
        cancelLabel.clear();
        cancelValue = -1;
        dialog->cancel();
    }
    return false;
}

} // namespace vxtest
