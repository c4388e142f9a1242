#pragma once

class ArticleListModel;
struct Category;
class QComboBox;

// The walks of the group levels that fill the selectors and the article list, for the main group c of the
// catalog the list shows. An index out of range empties what it would have filled.

// The upper groups of main into upperGroups, the first one's groups into groups, its first group's
// articles into list.
void fillSubCategories(const Category& main, unsigned c, ArticleListModel* list, QComboBox* upperGroups,
                       QComboBox* groups);
// Upper group s chosen: its groups into groups, the first one's articles into list.
void selectSubCategory(const Category& main, unsigned c, unsigned s, ArticleListModel* list,
                       QComboBox* groups);
// Group ss of upper group s chosen: its articles into list.
void selectSubSubCategory(const Category& main, unsigned c, unsigned s, unsigned ss, ArticleListModel* list);
