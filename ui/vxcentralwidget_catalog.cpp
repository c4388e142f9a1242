// Opening a catalog directory.
#include "ui/vxcentralwidget.h"

#include "catalog/catalogloader.h"
#include "catalog/latin1.h"
#include "catalogview/articlelistmodel.h"
#include "catalogview/catalogview.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStringList>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void vxCentralWidget::slotOpenCatalog() {
    const QString directory = QFileDialog::getExistingDirectory(nullptr, QString(), QStringLiteral("."));
    if (directory.isNull()) {
        slotUpdateOrderInfo();
        return;
    }
    if (!mayDiscardOrders(tr("Es sind %1 Artikel bestellt. Beim Öffnen eines anderen Katalogs geht die "
                             "Bestellliste verloren. Trotzdem öffnen?")))
        return;
    openCatalog(directory);
}

void vxCentralWidget::openCatalog(QString directory) {
    clearCatalog();
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    // The file system's own encoding: a Latin-1 form would miss every directory with other characters.
    const std::string path = QFile::encodeName(directory).toStdString();

    QProgressDialog progress(tr("Öffne Katalog..."), tr("Abbruch"), 0, 5, nullptr);
    progress.setObjectName(QStringLiteral("progress"));
    progress.setModal(true);
    progress.setMinimumDuration(0);
    progress.setValue(1);
    QApplication::processEvents();

    CatalogLoader loader(catalog);
    // A file that opens but fails midway (an I/O error, a directory of that name) keeps what was read;
    // the user still learns that the catalog is incomplete.
    QStringList unreadable;
    const auto note = [&](CatalogLoader::Status status, const char* fileName) {
        if (status == CatalogLoader::Status::ReadFailed)
            unreadable << QString::fromLatin1(fileName);
    };
    const auto open = [&](const QString& label, const char* fileName, const QString& failure) {
        progress.setLabelText(label);
        QApplication::processEvents();
        if (loader.openFile(path + fileName))
            return true;
        progress.setValue(5);
        QMessageBox::warning(this, QStringLiteral("Vendrix"), failure);
        clearCatalog();
        // The orders went with the previous catalog; totals left standing would be exported and printed.
        slotUpdateOrderInfo();
        return false;
    };
    const auto cancelled = [&](int step) {
        progress.setValue(step);
        QApplication::processEvents();
        if (!progress.wasCanceled())
            return false;
        clearCatalog();
        slotUpdateOrderInfo();
        return true;
    };

    if (!open(tr("Öffne WGHAUPT"), CatalogLoader::categoryFile,
              tr("Die Datei WGHAUPT konnte nicht geöffnet werden!")))
        return;
    note(loader.loadCategories(), CatalogLoader::categoryFile);
    QStringList entries;
    entries.reserve(qsizetype(catalog.size()) + 2);
    for (const Category& main : catalog)
        entries.append(fromLatin1(main.name));
    entries << tr("Suche") << tr("Bestellliste");
    cbCategory->addItems(entries);
    if (cancelled(2))
        return;

    if (!open(tr("Öffne WGOBER"), CatalogLoader::subCategoryFile,
              tr("Die Datei WGOBER konnte nicht geöffnet werden!")))
        return;
    note(loader.loadSubCategories(), CatalogLoader::subCategoryFile);
    if (cancelled(3))
        return;

    if (!open(tr("Öffne WGGRUPPE"), CatalogLoader::subSubCategoryFile,
              tr("Die Datei WGGRUPPE konnte nicht geöffnet werden!")))
        return;
    note(loader.loadSubSubCategories(), CatalogLoader::subSubCategoryFile);
    if (cancelled(4))
        return;

    if (!open(tr("Öffne ART"), CatalogLoader::articleFile, tr("Die Datei ART konnte nicht geöffnet werden!")))
        return;
    note(loader.loadArticles(), CatalogLoader::articleFile);
    progress.setValue(5);
    QApplication::processEvents();

    articles.build(catalog);
    articleList->setIndex(&articles);
#ifdef __GLIBC__
    // Reading leaves the blocks the texts were first read into free inside the heap.
    malloc_trim(0);
#endif
    if (!catalog.empty())
        fillSubCategories(catalog.front(), 0, articleList, cbSubCategory, cbSubSubCategory);
    slotUpdateOrderInfo();
    for (const QString& fileName : unreadable)
        QMessageBox::warning(this, QStringLiteral("Vendrix"),
                             tr("Die Datei %1 konnte nicht vollständig gelesen werden!").arg(fileName));
}

void vxCentralWidget::clearCatalog() {
    // The list lets go of the articles before they go.
    articleList->setIndex(nullptr);
    articles.clear();
    catalog.clear();
    ordered.clear();
    cbCategory->clear();
    cbSubCategory->clear();
    cbSubSubCategory->clear();
#ifdef __GLIBC__
    // A big catalog and its lists leave hundreds of megabytes free inside the heap; handing them back keeps
    // a long session from holding on to the largest catalog and list it ever had.
    malloc_trim(0);
#endif
}
