#include "support/gui.h"

#include "ui/vxarticleorderdialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

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

// The middle of the row's visible part: a wide row's own middle may lie beyond the list's edge.
QPoint rowPoint(QTreeView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QRect rect = list->visualRect(index);
    rect.setRight(list->viewport()->width());
    return rect.intersected(list->viewport()->rect()).center();
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

bool chooseEntry(QComboBox* box, int index) {
    if (!box->isEnabled() || !box->isVisible())
        return false;
    box->showPopup();
    QAbstractItemView* view = box->view();
    if (!view->isVisible())
        return false;
    view->setCurrentIndex(box->model()->index(index, box->modelColumn(), box->rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
    return !view->isVisible();
}

void doubleClickRow(QTreeView* list, int row) {
    const QPoint at = rowPoint(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

bool chooseFromRowMenu(QTreeView* list, int row, const QString& entry) {
    const QPoint pos = rowPoint(list, row);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, pos);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list->viewport(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return false;
    for (QAction* action : menu->actions()) {
        if (action->text() == entry) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return true;
        }
    }
    menu->close();
    return false;
}

void answerNextOrderDialog(const QString& units, bool ok) {
    answerNextModalOf<vxArticleOrderDialog>([units, ok](vxArticleOrderDialog* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("leOrderedUnits"));
        field->selectAll();
        QTest::keyClicks(field, units);
        QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? "pbOK" : "pbCancel"), Qt::LeftButton);
    });
}

bool orderFromGroup(vxCentralWidget* view, int c, int s, int ss, const QString& name, const QString& units) {
    for (const auto& [box, entry] :
         {std::pair{"cbCategory", c}, {"cbSubCategory", s}, {"cbSubSubCategory", ss}})
        if (!chooseEntry(view->findChild<QComboBox*>(QLatin1String(box)), entry))
            return false;
    auto* list = view->findChild<QTreeView*>(QStringLiteral("lvParts"));
    const int row = rowNamed(list, name);
    if (row < 0)
        return false;
    answerNextOrderDialog(units, true);
    return chooseFromRowMenu(list, row, QStringLiteral("Bestellen"));
}

QStringList markedEntries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << (i == box->currentIndex() ? QLatin1String("*") : QLatin1String("")) + box->itemText(i);
    return entries;
}

int rowCount(const QTreeView* list) {
    return list->model()->rowCount();
}

QString cellText(const QTreeView* list, int row, int column) {
    return list->model()->index(row, column).data().toString();
}

IndexPath rowPath(const QTreeView* list, int row) {
    return {cellText(list, row, ColumnCategory).toUInt(), cellText(list, row, ColumnSubCategory).toUInt(),
            cellText(list, row, ColumnSubSubCategory).toUInt(), cellText(list, row, ColumnArticle).toUInt()};
}

int rowNamed(const QTreeView* list, const QString& name) {
    for (int i = 0; i < rowCount(list); ++i)
        if (cellText(list, i, ColumnName) == name)
            return i;
    return -1;
}

} // namespace vxtest
