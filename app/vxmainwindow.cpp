#include "app/vxmainwindow.h"

#include "ui/vxcentralwidget.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>

vxMainWindow::vxMainWindow() : QMainWindow(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("vxMainWindow"));
    createCentralWidget();
    createMenus();
}

void vxMainWindow::openCatalog(const QString& directory) {
    view->openCatalog(directory);
}

void vxMainWindow::createCentralWidget() {
    view = new vxCentralWidget(this, "view");
    setCentralWidget(view);
}

void vxMainWindow::createMenus() {
    catalogMenu = new QMenu(tr("&Katalog"), this);
    menuBar()->addMenu(catalogMenu);
    catalogMenu->addAction(tr("Öffnen"), view, &vxCentralWidget::slotOpenCatalog);
    catalogMenu->addAction(tr("Entpacken"), view, &vxCentralWidget::slotUncompressCatalog);
    catalogMenu->addSeparator();
    catalogMenu->addAction(tr("&Beenden"), this, &QWidget::close);

    orderListMenu = new QMenu(tr("&Bestelliste"), this);
    menuBar()->addMenu(orderListMenu);
    // The order list slots are protected: the menu reaches them through the meta-object system.
    orderListMenu->addAction(tr("Drucken"), view, SLOT(slotPrintOrderList()));
    orderListMenu->addAction(tr("Exportiere Text-Datei"), view, SLOT(slotExportOrderListText()));
    orderListMenu->addAction(tr("Exportiere HTML-Datei"), view, SLOT(slotExportOrderListHTML()));
    orderListMenu->addAction(tr("Exportiere CSV-Datei"), view, SLOT(slotExportOrderListCSV()));
    orderListMenu->addAction(tr("Importiere CSV-Datei"), view, SLOT(slotImportOrderListCSV()));

    infoMenu = new QMenu(tr("&Info"), this);
    menuBar()->addMenu(infoMenu);
    infoMenu->addAction(tr("Über"), this, &vxMainWindow::slotAbout);
}

void vxMainWindow::closeEvent(QCloseEvent* event) {
    if (view->mayDiscardOrders(tr(
            "Es sind %1 Artikel bestellt. Beim Beenden geht die Bestellliste verloren. Trotzdem beenden?")))
        event->accept();
    else
        event->ignore();
}

void vxMainWindow::slotAbout() {
    QMessageBox::about(this, tr("Über Vendrix"),
                       tr("Vendrix v1.0") + QLatin1String("\n") +
                           tr("Ein OpenSource-Viewer für den elektronischen") + QLatin1String("\n") +
                           tr("Katalog von Korvel electronics.") + QLatin1String("\n\n") +
                           tr("Geschrieben vom Vendrix-Projekt.") + QLatin1String("\n") +
                           tr("Quelltext und Neuigkeiten: https://vendrix.example.org/"));
}
