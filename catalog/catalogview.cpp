#include "catalog/category.h"

#include "catalog/articleitem.h"
#include "catalog/articlematcher.h"
#include "catalog/latin1.h"

#include <QComboBox>
#include <QStringList>
#include <QTreeWidget>

// The walks of the three group levels that fill the selectors and the article list. They live apart from
// the records so that the records, and everything that reads or searches them, need no widgets.

void SubSubCategory::fillArticles(QTreeWidget* list, unsigned c, unsigned s, unsigned ss) const {
    list->clear();
    std::vector<FoundArticle> found;
    found.reserve(articles.size());
    for (unsigned a = 0; a < articles.size(); ++a)
        found.push_back({&articles[a], {c, s, ss, a}});
    addArticleRows(list, found, RowKind::Group);
}

void SubSubCategory::updateArticleItem(QTreeWidgetItem* row, unsigned c, unsigned s, unsigned ss,
                                       unsigned a) const {
    if (a < articles.size())
        setArticleItemTexts(row, articles[a], {c, s, ss, a});
}

void SubCategory::fillSubSubCategories(QTreeWidget* list, QComboBox* groups, unsigned c, unsigned s) const {
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

void SubCategory::selectSubSubCategory(QTreeWidget* list, unsigned c, unsigned s, unsigned ss) const {
    if (ss < subSubCategories.size())
        subSubCategories[ss].fillArticles(list, c, s, ss);
    else
        list->clear();
}

void SubCategory::updateArticleItem(QTreeWidgetItem* row, unsigned c, unsigned s, unsigned ss,
                                    unsigned a) const {
    if (ss < subSubCategories.size())
        subSubCategories[ss].updateArticleItem(row, c, s, ss, a);
}

void Category::fillSubCategories(QTreeWidget* list, QComboBox* upperGroups, QComboBox* groups,
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

void Category::selectSubCategory(QTreeWidget* list, QComboBox* groups, unsigned c, unsigned s) const {
    if (s < subCategories.size())
        subCategories[s].fillSubSubCategories(list, groups, c, s);
    else
        list->clear();
}

void Category::selectSubSubCategory(QTreeWidget* list, unsigned c, unsigned s, unsigned ss) const {
    if (s < subCategories.size())
        subCategories[s].selectSubSubCategory(list, c, s, ss);
    else
        list->clear();
}

void Category::updateArticleItem(QTreeWidgetItem* row, unsigned c, unsigned s, unsigned ss,
                                 unsigned a) const {
    if (s < subCategories.size())
        subCategories[s].updateArticleItem(row, c, s, ss, a);
}

void Category::searchArticles(QTreeWidget* list, const QString& text, bool inName, bool inDescription,
                              bool inOtherNames, bool caseSensitive, unsigned c) const {
    searchArticles(list, ArticleMatcher(text, inName, inDescription, inOtherNames, caseSensitive), c);
}

void Category::searchArticles(QTreeWidget* list, const ArticleMatcher& matcher, unsigned c) const {
    std::vector<FoundArticle> found;
    searchArticles(found, matcher, c);
    addArticleRows(list, found, RowKind::Group);
}

void Category::listOrderedArticles(QTreeWidget* list, unsigned c) const {
    std::vector<FoundArticle> found;
    listOrderedArticles(found, c);
    addArticleRows(list, found, RowKind::Order);
}
