#pragma once

#include "catalog/articleindex.h"
#include "catalog/category.h"
#include "catalog/orderindex.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPoint;
class QPushButton;
class ArticleListModel;
class QModelIndex;
class QTreeView;

// The browsing and ordering screen: selectors, search box, order box and the article list.
// It owns the opened catalog; the list's rows are numbers of its articles (see ArticleIndex).
class vxCentralWidget : public QWidget {
    Q_OBJECT

public:
    explicit vxCentralWidget(QWidget* parent = nullptr, const char* name = nullptr);
    ~vxCentralWidget() override;

    const Catalog& currentCatalog() const { return catalog; }

    // Opens the catalog in directory as "Öffnen" does once the directory is chosen: progress dialog,
    // warnings, and the first group shown.
    void openCatalog(QString directory);

    // True when nothing is ordered or the user agrees to lose the orders; question takes the order count
    // as %1.
    bool mayDiscardOrders(const QString& question);

    void buildOrderListHtml(QString& out) const;
    void buildOrderListText(QString& out) const;

public slots:
    void slotOpenCatalog();
    void slotUncompressCatalog();

protected slots:
    void slotCategoryChanged(int index);
    void slotSubCategoryChanged(int index);
    void slotSubSubCategoryChanged(int index);
    void slotSearchArticles();
    void slotDisplayArticle(const QModelIndex& row);
    void slotRightButtonClicked(const QModelIndex& row, const QPoint& globalPos, int column);
    void slotShowArticleInfo();
    void slotOrderedArticles();
    void slotOrderPart();
    void slotDisorderPart();
    void slotDisorderAllParts();
    void slotUpdateOrderInfo();
    void slotPrintOrderList();
    void slotExportOrderListText();
    void slotExportOrderListHTML();
    void slotExportOrderListCSV();
    void slotImportOrderListCSV();

protected:
    void clearCatalog();

private:
    void buildWidgets();
    void connectWidgets();
    void listContextMenuRequested(const QPoint& pos);
    // After an order change: the order list is rebuilt, any other view rewrites just the changed row.
    void refreshAfterOrderChange(int row);
    // The selected row of the list, or -1.
    int selectedRow() const;
    // True while the list shows one of the two special views rather than a group.
    bool showsOrderList() const;
    bool showsSearch() const;
    // The category addressed by a row or selector, or null when the index lies outside the catalog.
    Category* categoryAt(unsigned c);

    QComboBox* cbCategory = nullptr;
    QComboBox* cbSubCategory = nullptr;
    QComboBox* cbSubSubCategory = nullptr;
    QLineEdit* leSearch = nullptr;
    QCheckBox* cbName = nullptr;
    QCheckBox* cbDescription = nullptr;
    QCheckBox* cbOtherNames = nullptr;
    QCheckBox* cbCaseSensitive = nullptr;
    QPushButton* pbSearch = nullptr;
    QLineEdit* leOrderCount = nullptr;
    QLineEdit* leOrderSumNetto = nullptr;
    QLineEdit* leOrderSumBrutto = nullptr;
    QPushButton* pbOrderList = nullptr;
    QTreeView* lvParts = nullptr;
    ArticleListModel* articleList = nullptr;
    QMenu* pmParts = nullptr;
    Catalog catalog;
    // Numbers the articles of catalog for the list and the search; rebuilt with every catalog.
    ArticleIndex articles;
    // The ordered articles of catalog; every slot that changes an order keeps it up to date.
    OrderIndex ordered;
};
