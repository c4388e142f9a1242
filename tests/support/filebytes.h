#pragma once

#include <QByteArray>
#include <QString>

namespace vxtest {

// Whole files as byte strings, and byte strings written as readable hex ("41 90 03") in tests.
std::string readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const std::string& bytes);
inline std::string hexBytes(const char* hex) {
    return QByteArray::fromHex(hex).toStdString();
}
// The other way, for comparisons whose failures should show the bytes.
inline QByteArray hexOf(const std::string& bytes) {
    return QByteArray::fromStdString(bytes).toHex(' ');
}

} // namespace vxtest
