// How Vendrix fits a German desktop: Qt's own dialogs in German, the command line, names for screen readers;
// the main window's menus, About box and quitting, and the article list's columns.
#include "app/startup.h"
#include "app/vxmainwindow.h"
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "support/screen.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

class tst_Desktop : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    std::unique_ptr<vxMainWindow> window;

    template <class T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    // The exit code and what the program printed.
    static QString runVendrix(const QString& argument) {
        QProcess process;
        // Help and version must answer without any display.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VX_VENDRIX), {argument});
        if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
            return QStringLiteral("(did not end)");
        return QString::number(process.exitCode()) + "|" + QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void initTestCase() { QVERIFY(installGermanQtTranslations(*qApp)); }
    // Shown the way main() does.
    void init() {
        window = std::make_unique<vxMainWindow>();
        window->setWindowTitle(QStringLiteral("Vendrix"));
        window->resize(600, 450);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Qt's own buttons and dialogs speak German: the translations loaded are Qt's base ones.
    void standardDialogsSpeakGerman() {
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    }

    void versionAndHelp() {
        QCOMPARE(runVendrix(QStringLiteral("--version")), QStringLiteral("0|vendrix 1.0\n"));
        const QString help = runVendrix(QStringLiteral("--help"));
        QVERIFY2(help.startsWith("0|") && help.contains(QStringLiteral("Aufruf:")) &&
                     help.contains(QStringLiteral("Katalogverzeichnis, das beim Start geöffnet wird.")),
                 qPrintable(help));
    }

    void accessibleNames() {
        const auto text = [&](const char* name, QAccessible::Text kind = QAccessible::Name) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(child(name));
            return face ? face->text(kind) : QStringLiteral("(not accessible)");
        };
        QStringList names;
        for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory", "leSearch", "cbName",
                                 "cbDescription", "cbOtherNames", "pbSearch", "leOrderCount",
                                 "leOrderSumNetto", "leOrderSumBrutto", "pbOrderList", "lvParts"})
            names << text(name);
        QCOMPARE(names.join('|'),
                 QStringLiteral("Warenhauptgruppe|Warenobergruppe|Warengruppe|Suchen nach|"
                                "Artikelname|Beschreibung|Weitere Namen|Suche starten|Bisher "
                                "bestellte Artikel|Summe netto|Summe brutto|Bestellliste|"
                                "Artikelliste"));
        QVERIFY(text("lvParts", QAccessible::Description).contains(QStringLiteral("Kontextmenü")));
    }

    void catalogGivenAtStartAndColumns();
    void menusAboutBoxAndQuit();
};

// A catalog named on the command line opens as with "Öffnen", a missing one only warns. The columns widen to
// their texts (a burst of rows measured from its first) and never narrow by themselves.
void tst_Desktop::catalogGivenAtStartAndColumns() {
    auto* list = child<QTreeView>("lvParts");
    QStringList titles;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->columnCount(); ++i)
        titles << model->headerData(i, Qt::Horizontal).toString() + (list->isColumnHidden(i) ? "-" : "");
    QCOMPARE(titles.join(' '), "Artikel VPE Menge Preis Status Beschreibung Weitere Namen C- SC- SSC- A-");
    QCOMPARE(model->headerData(ColumnPrice, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(model->headerData(ColumnStatus, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignCenter);
    const QFontMetrics metrics(list->font());
    for (int c = ColumnName; c <= ColumnOtherNames; ++c)
        QVERIFY(list->columnWidth(c) >=
                metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()));
    // The first group holds a long name and description, the second only a short name.
    const std::string description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, gegurtet";
    CatalogWriter w;
    w.category("A", "Bauelemente").subCategory("A01", "Passive").subSubCategory("A0101", "lang");
    w.subSubCategory("A0102", "kurz");
    w.article("A0101", "Kohleschichtwiderstand X").describe(description);
    w.article("A0101", "R").describe(description);
    w.article("A0102", "R");
    const QString directory = temp.filePath(QStringLiteral("katalog"));
    QVERIFY(w.writeTo(directory));
    QVERIFY(parseCommandLine({QStringLiteral("vendrix")}).catalog.isEmpty());
    MessageBoxCatcher boxes;
    window->openCatalog(temp.filePath(QStringLiteral("fehlt")));
    QCOMPARE(child<QComboBox>("cbCategory")->count(), 0);
    window->openCatalog(parseCommandLine({QStringLiteral("vendrix"), directory}).catalog);
    QCOMPARE(boxes.texts(), QStringList(QStringLiteral("Die Datei WGHAUPT konnte nicht geöffnet werden!")));
    QStringList shown;
    for (const char* name : {"cbCategory", "cbSubCategory", "cbSubSubCategory"})
        shown << markedEntries(child<QComboBox>(name)).join('/');
    QCOMPARE(shown.join(" | ") + " | " + cellText(list, 0, ColumnName) + "/" + cellText(list, 1, ColumnName),
             "*Bauelemente/Suche/Bestellliste | *Passive | *lang/kurz | Kohleschichtwiderstand X/R");

    QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance("Kohleschichtwiderstand X"));
    QVERIFY(list->columnWidth(ColumnDescription) >= metrics.horizontalAdvance(description.c_str()));
    list->setColumnWidth(ColumnPackingUnit, 300);
    const int nameWidth = list->columnWidth(ColumnName);
    QVERIFY(chooseEntry(child<QComboBox>("cbSubSubCategory"), 1));
    QVERIFY(rowCount(list) == 1 && cellText(list, 0, ColumnName) == "R");
    QTest::qWait(50);
    QCOMPARE(list->columnWidth(ColumnName), nameWidth);
    QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
}

// Last: it ends the application's event loop.
void tst_Desktop::menusAboutBoxAndQuit() {
    QString menus;
    QHash<QString, QAction*> actions;
    for (const QAction* m : window->menuBar()->actions()) {
        menus += " | " + m->text() + ":";
        for (QAction* a : m->menu()->actions()) {
            actions[a->text()] = a;
            menus += " " + (a->isSeparator() ? "---" : a->text() + a->shortcut().toString());
        }
    }
    // The entries have no shortcuts.
    QCOMPARE(menus,
             QStringLiteral(" | &Katalog: Öffnen Entpacken --- &Beenden | &Bestelliste: Drucken Exportiere "
                            "Text-Datei Exportiere HTML-Datei Exportiere CSV-Datei Importiere CSV-Datei | "
                            "&Info: Über"));
    QString text;
    answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
        text = box->windowTitle() + "|" + box->text();
        box->accept();
    });
    actions["Über"]->trigger();
    QCOMPARE(text.section('\n', 0, 3),
             QStringLiteral("Über Vendrix|Vendrix v1.0\nEin OpenSource-Viewer für "
                            "den elektronischen\nKatalog von Korvel electronics.\n"));
    QVERIFY(!text.section('\n', 4, 4).isEmpty() && !text.section('\n', 5).isEmpty());
    // With an article ordered, closing the window and "Beenden" ask first; "Nein" (also Escape) keeps the
    // window, the catalog and the order as they were.
    CatalogWriter w;
    w.category("A", "A").subCategory("A01", "A").subSubCategory("A0101", "A");
    w.article("A0101", "R").tiers({{1, 100}});
    QVERIFY(w.writeTo(temp.path()));
    auto* view = window->findChild<vxCentralWidget*>();
    window->openCatalog(temp.path());
    QVERIFY(orderFromGroup(view, 0, 0, 0, "R", "3"));
    QStringList questions;
    for (const bool escape : {true, false}) {
        answerNextModalOf<QMessageBox>([&](QMessageBox* box) {
            questions << box->windowTitle() + "|" + box->text();
            escape ? QTest::keyClick(box, Qt::Key_Escape) : box->defaultButton()->click();
        });
        escape ? void(window->close()) : actions["&Beenden"]->trigger();
        QVERIFY(window->isVisible() && child<QLineEdit>("leOrderCount")->text() == "1" &&
                view->currentCatalog().size() == 1);
    }
    QCOMPARE(questions,
             QStringList(2, "Vendrix|Es sind 1 Artikel bestellt. Beim Beenden geht die Bestellliste "
                            "verloren. Trotzdem beenden?"));
    // "Beenden", answered "Ja", ends the program with status 0.
    QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QApplication::quit);
    answerNextModalOf<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QTimer::singleShot(0, [&] { actions["&Beenden"]->trigger(); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
