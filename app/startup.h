#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Installs Qt's own German translations (file dialogs, print dialog, standard buttons, context menus), so
// that Vendrix speaks German whatever the system locale. False, and English standard dialogs, when the
// translation file is not installed.
bool installGermanQtTranslations(QCoreApplication& app);

// What the command line asks for at start.
struct StartOptions {
    // A catalog directory to open as "Öffnen" would; empty for none.
    QString catalog;
};

// Whether the command line asks only for help or the version: those are answered on the terminal, before
// (and without) a display.
bool asksForHelpOrVersion(int argc, char* argv[]);

// Parses vendrix [KATALOG] [--help] [--version]. Help, version and wrong usage print their text and end
// the process, as command-line programs do.
StartOptions parseCommandLine(const QStringList& arguments);
