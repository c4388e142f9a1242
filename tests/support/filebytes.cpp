#include "support/filebytes.h"

#include <QFile>
#include <cstdlib>

namespace vxtest {

std::string readFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool writeFileBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

std::string hexBytes(const char* hex) {
    std::string out;
    char* end = nullptr;
    for (const char* p = hex; *p; p = end) {
        const long value = std::strtol(p, &end, 16);
        if (end == p)
            break;
        out += static_cast<char>(value);
    }
    return out;
}

QByteArray hexOf(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex(' ');
}

} // namespace vxtest
