#include "uncompress/uncompress.h"

#include "catalog/latin1.h"
#include "uncompress/extractentry.h"

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <fstream>
#include <vector>

namespace {
constexpr int RecordCount = 13;

QString tr(const char* text) {
    return QCoreApplication::translate("vxUncompress", text);
}

std::string encodedPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

int uncompressArchive(const QString& archivePath, const QString& targetDir) {
    // Records go into the directory, never beside it: without its "/" the path "dir" would make "dirART".
    std::string target = encodedPath(targetDir);
    if (target.empty())
        return 1;
    if (target.back() != '/')
        target += '/';
    std::ifstream archive(encodedPath(archivePath), std::ios::binary);
    if (!archive)
        return 1;
    std::vector<ArchiveEntry> directory(RecordCount);
    for (ArchiveEntry& entry : directory)
        if (!readEntry(archive, entry))
            return 1;
    // The byte between directory and data means nothing, but an archive without it is cut short.
    if (archive.get() == std::ifstream::traits_type::eof())
        return 1;

    QProgressDialog progress(tr("Entpacke Dateien..."), tr("Abbruch"), 0, RecordCount);
    progress.setObjectName(QStringLiteral("progress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setValue(1);
    QApplication::processEvents();

    for (int i = 1; i < RecordCount; ++i) {
        const ArchiveEntry& entry = directory[static_cast<std::size_t>(i)];
        progress.setLabelText(tr("Entpacke ") + fromLatin1(entryFileName(entry)));
        QApplication::processEvents();
        if (extractEntry(archive, target, entry) != 0)
            return 1;
        progress.setValue(i + 1);
        QApplication::processEvents();
        if (progress.wasCanceled())
            break;
    }
    return 0;
}
