// Selector cascade, double-click jump and search.
#include "ui/vxcentralwidget.h"

#include "catalog/articlematcher.h"
#include "catalogview/articlelistmodel.h"
#include "catalogview/catalogview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTreeView>

#include <algorithm>
#include <optional>

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
        articleList->clear();
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
        fillSubCategories(*category, unsigned(index), articleList, cbSubCategory, cbSubSubCategory);
}

void vxCentralWidget::slotSubCategoryChanged(int index) {
    const int c = cbCategory->currentIndex();
    const Category* category = c < 0 ? nullptr : categoryAt(unsigned(c));
    if (index < 0 || !category) {
        articleList->clear();
        return;
    }
    selectSubCategory(*category, unsigned(c), unsigned(index), articleList, cbSubSubCategory);
}

void vxCentralWidget::slotSubSubCategoryChanged(int index) {
    const int c = cbCategory->currentIndex();
    const int s = cbSubCategory->currentIndex();
    const Category* category = c < 0 ? nullptr : categoryAt(unsigned(c));
    if (index < 0 || s < 0 || !category) {
        articleList->clear();
        return;
    }
    selectSubSubCategory(*category, unsigned(c), unsigned(s), unsigned(index), articleList);
}

void vxCentralWidget::slotDisplayArticle(const QModelIndex& row) {
    if (!row.isValid())
        return;
    // In a group view the row is already where the jump would lead.
    if (unsigned(cbCategory->currentIndex()) < catalog.size())
        return;
    // Read the path first: the cascade below replaces the rows.
    const IndexPath path = articleList->pathAt(row.row());
    const Category* category = categoryAt(path.c);
    if (!category)
        return;
    cbSubCategory->setEnabled(true);
    cbSubSubCategory->setEnabled(true);
    cbCategory->setCurrentIndex(int(path.c));
    fillSubCategories(*category, path.c, articleList, cbSubCategory, cbSubSubCategory);
    cbSubCategory->setCurrentIndex(int(path.s));
    selectSubCategory(*category, path.c, path.s, articleList, cbSubSubCategory);
    cbSubSubCategory->setCurrentIndex(int(path.ss));
    selectSubSubCategory(*category, path.c, path.s, path.ss, articleList);
    const int target = articleList->rowOf(path);
    if (target >= 0)
        lvParts->selectionModel()->select(articleList->index(target, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void vxCentralWidget::slotSearchArticles() {
    if (showsSearch()) {
        setCurrentFromEnd(cbSubCategory, 2);
        setCurrentFromEnd(cbSubSubCategory, 2);
        cbSubCategory->setEnabled(false);
        cbSubSubCategory->setEnabled(false);
        articleList->clear();
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
    articleList->clear();

    const int steps = int(catalog.size()) + 1;
    // The found articles are listed in one go after the walk, also after a cancel.
    std::vector<std::uint32_t> found;
    QProgressDialog progress(tr("Suche läuft..."), tr("Abbruch"), 0, steps, nullptr);
    progress.setObjectName(QStringLiteral("progress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    struct Inputs {
        QString pattern;
        bool name, description, otherNames, caseSensitive;
        bool operator==(const Inputs& o) const {
            return pattern == o.pattern && name == o.name && description == o.description &&
                   otherNames == o.otherNames && caseSensitive == o.caseSensitive;
        }
    };
    std::optional<Inputs> used;
    std::optional<ArticleMatcher> matcher;
    for (unsigned c = 0; c < catalog.size(); ++c) {
        progress.setValue(int(c) + 1);
        QApplication::processEvents();
        if (progress.wasCanceled())
            break;
        // The inputs are read again for every main group, as the user may change them meanwhile; the
        // expression is compiled anew only when they did.
        const Inputs inputs{leSearch->text(), cbName->isChecked(), cbDescription->isChecked(),
                            cbOtherNames->isChecked(), cbCaseSensitive->isChecked()};
        if (!used || !(*used == inputs)) {
            matcher.emplace(inputs.pattern, inputs.name, inputs.description, inputs.otherNames,
                            inputs.caseSensitive);
            used = inputs;
        }
        // A main group may hold most of the catalog, and a pattern may take long on every field: the cancel
        // button is looked at within a main group too.
        const ArticleIndex::Range range = articles.category(c);
        constexpr std::uint32_t chunk = 1 << 15;
        for (std::uint32_t from = range.first; from < range.end && !progress.wasCanceled();) {
            const std::uint32_t to = from + std::min(chunk, range.end - from);
            if (articles.texts().size() == articles.size()) {
                matcher->find(articles.texts(), from, to, found);
            } else {
                for (std::uint32_t n = from; n < to; ++n)
                    if (matcher->matches(articles.article(n)))
                        found.push_back(n);
            }
            from = to;
            QApplication::processEvents();
        }
    }
    articleList->setRows(std::move(found), RowKind::Group);
    // A cancelled dialog has closed already; setting its value would show it once more.
    if (!progress.wasCanceled())
        progress.setValue(steps);
}
