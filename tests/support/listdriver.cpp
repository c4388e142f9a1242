#include "support/listdriver.h"

#include "catalog/articleitem.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

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

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void doubleClickRow(QTreeWidget* list, QTreeWidgetItem* row) {
    list->scrollToItem(row);
    const QPoint at = list->visualItemRect(row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QStringList markedEntries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << (i == box->currentIndex() ? QLatin1String("*") : QLatin1String("")) + box->itemText(i);
    return entries;
}

QStringList columnTexts(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

QTreeWidgetItem* rowNamed(const QTreeWidget* list, const QString& name) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(ColumnName) == name)
            return list->topLevelItem(i);
    return nullptr;
}

QString rowsAgreeWithCatalog(const QTreeWidget* list, const Catalog& catalog) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        const IndexPath p = indexPathOf(row);
        const Article* article = nullptr;
        if (p.c < catalog.size() && p.s < catalog[p.c].subCategories.size()) {
            const SubCategory& upper = catalog[p.c].subCategories[p.s];
            if (p.ss < upper.subSubCategories.size() && p.a < upper.subSubCategories[p.ss].articles.size())
                article = &upper.subSubCategories[p.ss].articles[p.a];
        }
        if (!article || QString::fromLatin1(article->name.data(), qsizetype(article->name.size())) !=
                            row->text(ColumnName))
            return row->text(ColumnName);
    }
    return QString();
}
