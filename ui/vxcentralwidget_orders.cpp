// Ordering, the order list view, the order totals and the order list output.
#include "ui/vxcentralwidget.h"

void vxCentralWidget::slotShowArticleInfo() {}
void vxCentralWidget::slotOrderPart() {}
void vxCentralWidget::slotDisorderPart() {}
void vxCentralWidget::slotDisorderAllParts() {}
void vxCentralWidget::slotOrderedArticles() {}
void vxCentralWidget::slotUpdateOrderInfo() {}
void vxCentralWidget::slotPrintOrderList() {}
void vxCentralWidget::slotExportOrderListText() {}
void vxCentralWidget::slotExportOrderListHTML() {}
void vxCentralWidget::buildOrderListHtml(QString&) const {}
void vxCentralWidget::buildOrderListText(QString&) const {}
