// Opens an exported order list in a real browser: headless Chromium from Debian's packages.
#include "support/catalogwriter.h"
#include "support/modal.h"
#include "support/viewfixture.h"
#include "ui/vxcentralwidget.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace vxtest;

class tst_Browser : public QObject {
    Q_OBJECT

private slots:
    void exportedHtmlShowsCatalogTexts();
};

void tst_Browser::exportedHtmlShowsCatalogTexts() {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("chromium is not installed (Debian package chromium, see scripts/deps.sh); the exported HTML "
              "was not opened in a browser");
    QStandardPaths::setTestModeEnabled(true);

    QTemporaryDir temp;
    CatalogWriter w;
    w.category("A", latin1("Kühlung")).subCategory("A01", latin1("Wärme")).subSubCategory("A0101", "Alles");
    w.article("A0101", latin1("Kühlkörper")).tiers({{1, 2140}});
    w.article("A0101", latin1("Wärmeleitpaste Größe")).tiers({{1, 990}});
    w.article("A0101", "Abisolier <Typ 1> & Co").tiers({{1, 5800}});
    const QString catalogDir = temp.filePath("katalog");
    QVERIFY(w.writeTo(catalogDir));

    vxCentralWidget view;
    view.resize(900, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    answerNextFileDialog(catalogDir);
    view.slotOpenCatalog();
    for (const char* name : {"Kühlkörper", "Wärmeleitpaste Größe", "Abisolier <Typ 1> & Co"})
        QVERIFY(orderFromGroup(&view, 0, 0, 0, QString::fromUtf8(name), "1"));
    const QString html = temp.filePath("bestellung.html");
    answerNextFileDialog(html);
    QVERIFY(QMetaObject::invokeMethod(&view, "slotExportOrderListHTML"));
    QVERIFY(QFile::exists(html));

    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                             "--disable-background-networking", "--disable-component-update",
                             "--disable-sync", "--user-data-dir=" + temp.filePath("profil"), "--dump-dom",
                             QUrl::fromLocalFile(html).toString()});
    QVERIFY2(browser.waitForStarted(), qPrintable(browser.errorString()));
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        QFAIL("chromium did not finish within two minutes");
    }
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    QVERIFY2(browser.exitStatus() == QProcess::NormalExit && browser.exitCode() == 0,
             browser.readAllStandardError().right(2000).constData());

    // The serialized document: umlauts decoded as they were meant, markup characters of a name kept as text.
    for (const QString& expected :
         {QStringLiteral("<h2>Bestellliste</h2>"), QStringLiteral("Kühlkörper"),
          QStringLiteral("Wärmeleitpaste Größe"), QStringLiteral("Abisolier &lt;Typ 1&gt; &amp; Co")})
        QVERIFY2(dom.contains(expected), qPrintable(expected + "\n" + dom));
    for (const QString& mojibake : {QStringLiteral("Ã"), QStringLiteral("\uFFFD"), QStringLiteral("<typ")})
        QVERIFY2(!dom.contains(mojibake, Qt::CaseInsensitive), qPrintable(mojibake + "\n" + dom));
}

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
