// Selector cascade, double-click jump and search.
#include "ui/vxcentralwidget.h"

void vxCentralWidget::slotCategoryChanged(int) {}
void vxCentralWidget::slotSubCategoryChanged(int) {}
void vxCentralWidget::slotSubSubCategoryChanged(int) {}
void vxCentralWidget::slotDisplayArticle(QTreeWidgetItem*) {}
void vxCentralWidget::slotSearchArticles() {}
