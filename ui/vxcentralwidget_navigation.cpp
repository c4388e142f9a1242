// Selector cascade, double-click jump and search.
#include "ui/vxcentralwidget.h"

#include "catalog/articleitem.h"
#include "catalog/articlematcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTreeWidget>

namespace {
// The special views keep the lower selectors on their second-to-last (search) or last (order list) entry.
void setCurrentFromEnd(QComboBox* box, int fromEnd) {
    const int index = box->count() - fromEnd;
    if (index >= 0)
        box->setCurrentIndex(index);
}
} // namespace

void vxCentralWidget::slotCategoryChanged(int index) {
    if (index < 0) {
        lvParts->clear();
        return;
    }
    // The two special entries are recognised by their text, so a main group of that name behaves the same.
    if (showsSearch()) {
        slotSearchArticles();
        return;
    }
    if (showsOrderList()) {
        slotOrderedArticles();
        return;
    }
    cbSubCategory->setEnabled(true);
    cbSubSubCategory->setEnabled(true);
    if (const Category* category = categoryAt(unsigned(index)))
        category->fillSubCategories(lvParts, cbSubCategory, cbSubSubCategory, unsigned(index));
}

void vxCentralWidget::slotSubCategoryChanged(int index) {
    const int c = cbCategory->currentIndex();
    const Category* category = c < 0 ? nullptr : categoryAt(unsigned(c));
    if (index < 0 || !category) {
        lvParts->clear();
        return;
    }
    category->selectSubCategory(lvParts, cbSubSubCategory, unsigned(c), unsigned(index));
}

void vxCentralWidget::slotSubSubCategoryChanged(int index) {
    const int c = cbCategory->currentIndex();
    const int s = cbSubCategory->currentIndex();
    const Category* category = c < 0 ? nullptr : categoryAt(unsigned(c));
    if (index < 0 || s < 0 || !category) {
        lvParts->clear();
        return;
    }
    category->selectSubSubCategory(lvParts, unsigned(c), unsigned(s), unsigned(index));
}

void vxCentralWidget::slotDisplayArticle(QTreeWidgetItem* row) {
    if (!row)
        return;
    // In a group view the row is already where the jump would lead.
    if (unsigned(cbCategory->currentIndex()) < catalog.size())
        return;
    // Read the path first: the cascade below clears the list and deletes the row.
    const IndexPath path = indexPathOf(row);
    const Category* category = categoryAt(path.c);
    if (!category)
        return;
    cbSubCategory->setEnabled(true);
    cbSubSubCategory->setEnabled(true);
    cbCategory->setCurrentIndex(int(path.c));
    category->fillSubCategories(lvParts, cbSubCategory, cbSubSubCategory, path.c);
    cbSubCategory->setCurrentIndex(int(path.s));
    category->selectSubCategory(lvParts, cbSubSubCategory, path.c, path.s);
    cbSubSubCategory->setCurrentIndex(int(path.ss));
    category->selectSubSubCategory(lvParts, path.c, path.s, path.ss);
    for (int i = 0, n = lvParts->topLevelItemCount(); i < n; ++i) {
        QTreeWidgetItem* candidate = lvParts->topLevelItem(i);
        if (candidate->text(ColumnArticle).toUInt() == path.a) {
            candidate->setSelected(true);
            break;
        }
    }
}

void vxCentralWidget::slotSearchArticles() {
    if (showsSearch()) {
        setCurrentFromEnd(cbSubCategory, 2);
        setCurrentFromEnd(cbSubSubCategory, 2);
        cbSubCategory->setEnabled(false);
        cbSubSubCategory->setEnabled(false);
        lvParts->clear();
    }
    if (leSearch->text().simplified().isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Vendrix"),
                                 tr("Geben Sie bitte einen Suchstring ein!"));
        return;
    }
    setCurrentFromEnd(cbCategory, 2);
    setCurrentFromEnd(cbSubCategory, 2);
    setCurrentFromEnd(cbSubSubCategory, 2);
    cbSubCategory->setEnabled(false);
    cbSubSubCategory->setEnabled(false);
    lvParts->clear();

    const int steps = int(catalog.size()) + 1;
    // The rows are gathered and inserted in one go after the walk, also after a cancel: the list then lays
    // itself out, sorts and widens its columns once instead of after every main group.
    std::vector<FoundArticle> found;
    QProgressDialog progress(tr("Suche läuft..."), tr("Abbruch"), 0, steps, nullptr);
    progress.setObjectName(QStringLiteral("progress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    for (unsigned c = 0; c < catalog.size(); ++c) {
        progress.setValue(int(c) + 1);
        QApplication::processEvents();
        if (progress.wasCanceled())
            break;
        // The inputs are read again for every main group, as the user may change them meanwhile.
        const ArticleMatcher matcher(leSearch->text(), cbName->isChecked(), cbDescription->isChecked(),
                                     cbOtherNames->isChecked(), cbCaseSensitive->isChecked());
        catalog[c].searchArticles(found, matcher, c);
    }
    addArticleRows(lvParts, found, RowKind::Group);
    // A cancelled dialog has closed already; setting its value would show it once more.
    if (!progress.wasCanceled())
        progress.setValue(steps);
}
