// Unpacking a catalog archive.
#include "ui/vxcentralwidget.h"

void vxCentralWidget::slotUncompressCatalog() {}
