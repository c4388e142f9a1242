#pragma once

#include <QString>

#include <string>

// The catalog's texts are Latin-1 bytes; this is the one place they become text.
inline QString fromLatin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
