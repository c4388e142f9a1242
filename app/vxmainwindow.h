#pragma once

#include <QMainWindow>

class QMenu;
class vxCentralWidget;

// The one window: menu bar with the catalog, order list and info menus around the central widget.
class vxMainWindow : public QMainWindow {
    Q_OBJECT

public:
    vxMainWindow();

    // Opens a catalog directory as "Öffnen" does once it is chosen.
    void openCatalog(const QString& directory);

protected slots:
    void slotAbout();

protected:
    // Closing the window ends the program, and the orders with it: the user is asked first.
    void closeEvent(QCloseEvent* event) override;

private:
    void createCentralWidget();
    void createMenus();

    QMenu* catalogMenu = nullptr;
    QMenu* orderListMenu = nullptr;
    QMenu* infoMenu = nullptr;
    vxCentralWidget* view = nullptr;
};
