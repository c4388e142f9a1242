#pragma once

#include <QString>

// Unpacks records 1 to 12 of the archive into targetDir (a missing trailing "/" is added; an empty path is a
// failure) under a modal progress dialog that can be cancelled between records. Returns 0 on success or
// cancel, 1 on failure; files of records unpacked before a failure stay.
int uncompressArchive(const QString& archivePath, const QString& targetDir);
