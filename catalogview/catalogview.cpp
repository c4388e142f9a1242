#include "catalogview/catalogview.h"

#include "catalog/category.h"
#include "catalog/latin1.h"
#include "catalogview/articlelistmodel.h"

#include <QComboBox>
#include <QStringList>

namespace {

template <class Groups> void fillNames(QComboBox* box, const std::vector<Groups>& groups) {
    box->clear();
    QStringList names;
    names.reserve(qsizetype(groups.size()));
    for (const Groups& group : groups)
        names.append(fromLatin1(group.name));
    box->addItems(names);
}

} // namespace

void selectSubCategory(const Category& main, unsigned c, unsigned s, ArticleListModel* list,
                       QComboBox* groups) {
    if (s >= main.subCategories.size()) {
        list->clear();
        return;
    }
    const SubCategory& upper = main.subCategories[s];
    fillNames(groups, upper.subSubCategories);
    if (upper.subSubCategories.empty()) {
        list->clear();
        return;
    }
    groups->setCurrentIndex(0);
    list->showGroup(c, s, 0);
}

void fillSubCategories(const Category& main, unsigned c, ArticleListModel* list, QComboBox* upperGroups,
                       QComboBox* groups) {
    fillNames(upperGroups, main.subCategories);
    if (main.subCategories.empty()) {
        // Group names of the previously shown main group would belong to nothing here.
        groups->clear();
        list->clear();
        return;
    }
    upperGroups->setCurrentIndex(0);
    selectSubCategory(main, c, 0, list, groups);
}

void selectSubSubCategory(const Category& main, unsigned c, unsigned s, unsigned ss, ArticleListModel* list) {
    if (s < main.subCategories.size() && ss < main.subCategories[s].subSubCategories.size())
        list->showGroup(c, s, ss);
    else
        list->clear();
}
