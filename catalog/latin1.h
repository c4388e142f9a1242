#pragma once

#include <QString>

#include <string>
#include <string_view>

// The catalog's texts are Latin-1 bytes; this is the one place they become text.
inline QString fromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
