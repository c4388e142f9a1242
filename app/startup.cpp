#include "app/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstring>

bool installGermanQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool asksForHelpOrVersion(int argc, char* argv[]) {
    static const char* const flags[] = {"-h", "--help", "-?", "--help-all", "-v", "--version"};
    for (int i = 1; i < argc; ++i)
        for (const char* flag : flags)
            if (std::strcmp(argv[i], flag) == 0)
                return true;
    return false;
}

StartOptions parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "vxMainWindow", "Vendrix zeigt den Bauteilkatalog eines Elektronikversenders "
                        "und stellt Bestelllisten zusammen."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("vxMainWindow", "KATALOG"),
        QCoreApplication::translate("vxMainWindow", "Katalogverzeichnis, das beim Start geöffnet wird."),
        QCoreApplication::translate("vxMainWindow", "[KATALOG]"));
    parser.process(arguments);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fputs(
            qPrintable(QCoreApplication::translate("vxMainWindow", "Nur ein Katalogverzeichnis, bitte.") +
                       QLatin1Char('\n')),
            stderr);
        parser.showHelp(1);
    }
    return {positional.value(0)};
}
