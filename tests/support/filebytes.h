#pragma once

#include <QByteArray>
#include <QString>

namespace vxtest {

// Whole files as byte strings; hexBytes("41 90 03") and hexOf(bytes) for byte strings as readable hex.
std::string readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const std::string& bytes);
std::string hexBytes(const char* hex);
QByteArray hexOf(const std::string& bytes);

} // namespace vxtest
