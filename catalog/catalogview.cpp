#include "catalog/category.h"

#include "catalog/articlelistmodel.h"
#include "catalog/latin1.h"

#include <QComboBox>
#include <QStringList>

// The walks of the three group levels that fill the selectors and the article list. They live apart from
// the records so that the records, and everything that reads or searches them, need no widgets.

void SubSubCategory::fillArticles(ArticleListModel* list, unsigned c, unsigned s, unsigned ss) const {
    list->showGroup(c, s, ss);
}

void SubCategory::fillSubSubCategories(ArticleListModel* list, QComboBox* groups, unsigned c,
                                       unsigned s) const {
    groups->clear();
    QStringList names;
    names.reserve(qsizetype(subSubCategories.size()));
    for (const SubSubCategory& group : subSubCategories)
        names.append(fromLatin1(group.name));
    groups->addItems(names);
    if (subSubCategories.empty()) {
        list->clear();
        return;
    }
    groups->setCurrentIndex(0);
    subSubCategories.front().fillArticles(list, c, s, 0);
}

void SubCategory::selectSubSubCategory(ArticleListModel* list, unsigned c, unsigned s, unsigned ss) const {
    if (ss < subSubCategories.size())
        subSubCategories[ss].fillArticles(list, c, s, ss);
    else
        list->clear();
}

void Category::fillSubCategories(ArticleListModel* list, QComboBox* upperGroups, QComboBox* groups,
                                 unsigned c) const {
    upperGroups->clear();
    QStringList names;
    names.reserve(qsizetype(subCategories.size()));
    for (const SubCategory& upper : subCategories)
        names.append(fromLatin1(upper.name));
    upperGroups->addItems(names);
    if (subCategories.empty()) {
        // Group names of the previously shown main group would belong to nothing here.
        groups->clear();
        list->clear();
        return;
    }
    upperGroups->setCurrentIndex(0);
    subCategories.front().fillSubSubCategories(list, groups, c, 0);
}

void Category::selectSubCategory(ArticleListModel* list, QComboBox* groups, unsigned c, unsigned s) const {
    if (s < subCategories.size())
        subCategories[s].fillSubSubCategories(list, groups, c, s);
    else
        list->clear();
}

void Category::selectSubSubCategory(ArticleListModel* list, unsigned c, unsigned s, unsigned ss) const {
    if (s < subCategories.size())
        subCategories[s].selectSubSubCategory(list, c, s, ss);
    else
        list->clear();
}
