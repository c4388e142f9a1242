#include "support/screen.h"

#include "support/modal.h"
#include "ui/vxarticleorderdialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace vxtest {

namespace {
// The middle of the row's visible part: a wide row's own middle may lie beyond the list's edge.
QPoint rowPoint(QTreeView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QRect rect = list->visualRect(index);
    rect.setRight(list->viewport()->width());
    return rect.intersected(list->viewport()->rect()).center();
}
} // namespace

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

int selectedRow(const QTreeView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.constFirst().row() : -1;
}

} // namespace vxtest
