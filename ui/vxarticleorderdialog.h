#pragma once

#include "catalog/article.h"

#include <QDialog>

class QLineEdit;
class QString;
class QTextBrowser;

// Asks how many packing units of an article to order and holds to its minimum order quantity (the first
// tier's quantity). Works on a copy; the caller takes it back with article() when the dialog was accepted.
class vxArticleOrderDialog : public QDialog {
    Q_OBJECT

public:
    explicit vxArticleOrderDialog(const Article& article, QWidget* parent = nullptr,
                                  const char* name = nullptr);

    // The copy with the ordered units the dialog currently holds.
    const Article& article() const { return heldArticle; }

protected slots:
    void slotOrderedUnitsChanged(const QString& text);

private:
    void showOrderedUnits(const QString& text);
    void refuseOrder();

    QLineEdit* leOrderedUnits = nullptr;
    QTextBrowser* teArticleInfo = nullptr;
    Article heldArticle;
};

// The short article document of the order dialog: name, description and packing unit.
void buildArticleOrderHtml(const Article& article, QString& out);

// Runs the order dialog on article; when it is accepted, article receives the new ordered units and the
// result is true.
bool runArticleOrderDialog(Article& article);
