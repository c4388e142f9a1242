#include "support/ordering.h"

#include "support/modal.h"
#include "ui/vxarticleorderdialog.h"
#include "ui/vxcentralwidget.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

bool chooseFromRowMenu(QTreeWidget* list, QTreeWidgetItem* row, const QString& entry) {
    list->scrollToItem(row);
    const QPoint pos = list->visualItemRect(row).center();
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
        if (!units.isNull()) {
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("leOrderedUnits"));
            field->selectAll();
            QTest::keyClicks(field, units);
        }
        auto* button =
            dialog->findChild<QPushButton*>(ok ? QStringLiteral("pbOK") : QStringLiteral("pbCancel"));
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

void chooseEntry(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QTreeWidgetItem* rowNamed(QTreeWidget* list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.constFirst();
}

bool orderFromGroup(vxCentralWidget* view, int c, int s, int ss, const QString& name, const QString& units) {
    chooseEntry(view->findChild<QComboBox*>(QStringLiteral("cbCategory")), c);
    chooseEntry(view->findChild<QComboBox*>(QStringLiteral("cbSubCategory")), s);
    chooseEntry(view->findChild<QComboBox*>(QStringLiteral("cbSubSubCategory")), ss);
    auto* list = view->findChild<QTreeWidget*>(QStringLiteral("lvParts"));
    QTreeWidgetItem* row = rowNamed(list, name);
    if (!row)
        return false;
    answerNextOrderDialog(units, true);
    return chooseFromRowMenu(list, row, QStringLiteral("Bestellen"));
}
