#pragma once

#include "catalog/article.h"

#include <QDialog>

class QTextBrowser;

// Shows everything the catalog knows about one article, with its price scale, and prints it.
// Works on its own copy; the model is never written.
class vxArticleInfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit vxArticleInfoDialog(const Article& article, QWidget* parent = nullptr,
                                 const char* name = nullptr);

protected slots:
    void slotPrint();

private:
    QTextBrowser* teArticleInfo = nullptr;
    Article article;
};

// The article document of the info dialog: names, status, packing unit and the price scale (net and gross).
void buildArticleInfoHtml(const Article& article, QString& out);

// Runs the info dialog on a copy of article until it is closed.
void showArticleInfoDialog(const Article& article);
