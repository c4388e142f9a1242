// Opens an exported order list in a real browser: headless Chromium from Debian's packages.
#include "support/modal.h"
#include "support/viewfixture.h"

#include <QtTest>
#include <QtWidgets>

using namespace vxtest;

class tst_Browser : public QObject {
    Q_OBJECT

private slots:
    // The serialized document: umlauts decoded as they were meant, markup characters of a name kept as text.
    void exportedHtmlShowsCatalogTexts() {
        const QString chromium = QStandardPaths::findExecutable("chromium");
        if (chromium.isEmpty())
            QSKIP("chromium is not installed (Debian package chromium, see scripts/deps.sh)");
        QStandardPaths::setTestModeEnabled(true);
        CatalogWriter w;
        w.category("A", latin1("Kühlung")).subCategory("A01", latin1("Wärme"));
        w.subSubCategory("A0101", "Alles");
        const QStringList names = {"Kühlkörper", "Wärmeleitpaste Größe", "Abisolier <Typ 1> & Co"};
        for (const QString& name : names)
            w.article("A0101", name.toLatin1().toStdString()).tiers({{1, 990}});
        ViewFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()) && f.open(w));
        for (const QString& name : names)
            QVERIFY(f.order(0, 0, 0, name, "1"));
        const QString html = f.temp.filePath("bestellung.html");
        answerNextFileDialog(html);
        QVERIFY(QMetaObject::invokeMethod(f.view.get(), "slotExportOrderListHTML") && QFile::exists(html));
        QProcess browser;
        QStringList options = QString("--headless --no-sandbox --disable-gpu --no-first-run --disable-sync "
                                      "--disable-background-networking --disable-component-update --dump-dom")
                                  .split(' ');
        browser.start(chromium, options << "--user-data-dir=" + f.temp.filePath("profil")
                                        << QUrl::fromLocalFile(html).toString());
        if (!browser.waitForFinished(120000))
            browser.kill();
        QVERIFY2(browser.exitStatus() == QProcess::NormalExit && browser.exitCode() == 0,
                 browser.readAllStandardError().right(2000).constData());
        const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
        for (const char* expected : {"<h2>Bestellliste</h2>", "Kühlkörper", "Wärmeleitpaste Größe",
                                     "Abisolier &lt;Typ 1&gt; &amp; Co"})
            QVERIFY2(dom.contains(QString::fromUtf8(expected)), qPrintable(expected + ("\n" + dom)));
    }
};

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
