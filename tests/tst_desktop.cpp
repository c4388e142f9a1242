// How Vendrix fits a German desktop: Qt's own dialogs in German, the command line, names for screen readers.
#include "app/startup.h"
#include "app/vxmainwindow.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

class tst_Desktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installGermanQtTranslations(*qApp)); }
    void standardDialogsSpeakGerman();
    void versionAndHelp();
    void catalogGivenAtStart();
    void accessibleNames();

private:
    static QString runVendrix(const QStringList& arguments, int* exitCode) {
        QProcess process;
        // Help and version must answer without any display.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VX_VENDRIX), arguments);
        if (!process.waitForFinished(20000))
            return QStringLiteral("(did not end)");
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    CatalogWriter smallCatalog() {
        CatalogWriter w;
        w.category("A", "Bauelemente").subCategory("A01", "Passive").subSubCategory("A0101", "Kondensatoren");
        w.article("A0101", "Kondensator 100nF");
        return w;
    }
    QTemporaryDir temp;
};

void tst_Desktop::standardDialogsSpeakGerman() {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

    QFileDialog dialog(nullptr, QString(), temp.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const auto label = [&](const char* name) {
        return dialog.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(label("lookInLabel"), QStringLiteral("Suchen in:"));
    QCOMPARE(label("fileNameLabel"), QStringLiteral("Verzeichnis:"));
    QCOMPARE(label("fileTypeLabel"), QStringLiteral("Dateien des Typs:"));
}

void tst_Desktop::versionAndHelp() {
    int exitCode = -1;
    QCOMPARE(runVendrix({QStringLiteral("--version")}, &exitCode), QStringLiteral("vendrix 1.0\n"));
    QCOMPARE(exitCode, 0);
    const QString help = runVendrix({QStringLiteral("--help")}, &exitCode);
    QCOMPARE(exitCode, 0);
    QVERIFY2(help.contains(QStringLiteral("Katalogverzeichnis, das beim Start geöffnet wird.")),
             qPrintable(help));
    QVERIFY2(help.contains(QStringLiteral("Aufruf:")), qPrintable(help));
}

// A missing catalog only warns, and a catalog given afterwards shows the same selectors and list as after
// "Öffnen".
void tst_Desktop::catalogGivenAtStart() {
    const QString directory = temp.filePath(QStringLiteral("katalog"));
    QVERIFY(smallCatalog().writeTo(directory));
    const StartOptions options = parseCommandLine({QStringLiteral("vendrix"), directory});
    QCOMPARE(options.catalog, directory);
    QVERIFY(parseCommandLine({QStringLiteral("vendrix")}).catalog.isEmpty());
    ViewFixture chosen;
    QVERIFY(chosen.open(smallCatalog()));
    vxMainWindow window;
    window.show();
    MessageBoxCatcher boxes;
    window.openCatalog(temp.filePath(QStringLiteral("fehlt")));
    QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("cbCategory"))->count(), 0);
    window.openCatalog(options.catalog);
    QCOMPARE(boxes.texts(), QStringList(QStringLiteral("Die Datei WGHAUPT konnte nicht geöffnet werden!")));
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
        QCOMPARE(markedEntries(window.findChild<QComboBox*>(QLatin1String(name))),
                 markedEntries(chosen.child<QComboBox>(name)));
    QCOMPARE(columnTexts(window.findChild<QTreeView*>(QStringLiteral("lvParts")), 0), chosen.rowNames());
}

void tst_Desktop::accessibleNames() {
    ViewFixture f;
    const auto text = [&](const char* name, QAccessible::Text kind = QAccessible::Name) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(f.child(name));
        return face ? face->text(kind) : QStringLiteral("(not accessible)");
    };
    const QList<std::pair<const char*, const char*>> expected{{"cbCategory", "Warenhauptgruppe"},
                                                              {"cbSubCategory", "Warenobergruppe"},
                                                              {"cbSubSubCategory", "Warengruppe"},
                                                              {"leSearch", "Suchen nach"},
                                                              {"cbName", "Artikelname"},
                                                              {"cbDescription", "Beschreibung"},
                                                              {"cbOtherNames", "Weitere Namen"},
                                                              {"pbSearch", "Suche starten"},
                                                              {"leOrderCount", "Bisher bestellte Artikel"},
                                                              {"leOrderSumNetto", "Summe netto"},
                                                              {"leOrderSumBrutto", "Summe brutto"},
                                                              {"pbOrderList", "Bestellliste"},
                                                              {"lvParts", "Artikelliste"}};
    for (const auto& [name, accessible] : expected)
        QCOMPARE(text(name), QString::fromUtf8(accessible));
    QVERIFY(text("lvParts", QAccessible::Description).contains(QStringLiteral("Kontextmenü")));
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
