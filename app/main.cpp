#include "app/startup.h"
#include "app/vxmainwindow.h"

#include <QApplication>
#include <QTimer>

namespace {
void setUp(QCoreApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("vendrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VENDRIX_VERSION));
    // Before the command line is parsed, so that its help speaks German too.
    installGermanQtTranslations(app);
}
} // namespace

int main(int argc, char* argv[]) {
    if (asksForHelpOrVersion(argc, argv)) {
        // A terminal answer needs no display; the parser prints it and ends the process.
        QCoreApplication app(argc, argv);
        setUp(app);
        parseCommandLine(QCoreApplication::arguments());
        return 0;
    }
    QApplication app(argc, argv);
    setUp(app);
    // Lets Wayland desktops match the window to the installed launcher entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vendrix"));
    const StartOptions options = parseCommandLine(QApplication::arguments());

    auto* window = new vxMainWindow;
    window->setWindowTitle(QStringLiteral("Vendrix"));
    window->resize(600, 450);
    window->show();
    // From the event loop, so that the progress dialog and any warning stand over the shown window.
    if (!options.catalog.isEmpty())
        QTimer::singleShot(0, window, [window, options] { window->openCatalog(options.catalog); });
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int result = app.exec();
    delete window;
    return result;
}
