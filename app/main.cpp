#include "app/vxmainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets Wayland desktops match the window to the installed launcher entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vendrix"));
    auto* window = new vxMainWindow;
    window->setWindowTitle(QStringLiteral("Vendrix"));
    window->resize(600, 450);
    window->show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int result = app.exec();
    delete window;
    return result;
}
