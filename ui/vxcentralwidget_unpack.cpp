// Unpacking a catalog archive.
#include "ui/vxcentralwidget.h"

#include "uncompress/uncompress.h"

#include <QFileDialog>
#include <QMessageBox>

void vxCentralWidget::slotUncompressCatalog() {
    const QString archive = QFileDialog::getOpenFileName(nullptr, QString(), QStringLiteral("."),
                                                         tr("Alle Dateien") + QLatin1String(" (*.*)"));
    if (archive.isEmpty())
        return;
    QMessageBox::information(this, tr("Vendrix"),
                             tr("Bitte wählen Sie als nächstes das") + QLatin1String("\n") +
                                 tr("Verzeichnis, in das alle Dateien entpackt") + QLatin1String("\n") +
                                 tr("werden sollen."));
    QString directory = QFileDialog::getExistingDirectory(nullptr, QString(), QStringLiteral("."));
    if (directory.isEmpty())
        return;
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    if (uncompressArchive(archive, directory) == 1)
        QMessageBox::warning(this, QStringLiteral("Vendrix"),
                             tr("Die Datei konnte nicht vollständig entpackt werden!"));
}
