// Opening a catalog directory.
#include "ui/vxcentralwidget.h"

#include <QComboBox>
#include <QTreeWidget>

void vxCentralWidget::slotOpenCatalog() {}

void vxCentralWidget::clearCatalog() {
    catalog.clear();
    lvParts->clear();
    cbCategory->clear();
    cbSubCategory->clear();
    cbSubSubCategory->clear();
}
