#include "support/catalogwriter.h"
#include "support/filebytes.h"

#include <QDir>

namespace vxtest {

static std::string field(const std::string& text, std::size_t width) {
    std::string out = text.substr(0, width);
    return out.resize(width, '\0'), out;
}

static std::string littleEndian(std::int64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
    return out;
}

ArticleFields& CatalogWriter::article(std::string groupKey, std::string name) {
    ArticleFields item;
    item.groupKey = groupKey, item.name = name, item.priceTiers = {{1, 1000}};
    return articles.push_back(item), articles.back();
}

std::string CatalogWriter::fileBytes(CatalogFile file) const {
    std::string out;
    if (file != CatalogFile::Art)
        for (const auto& [key, name] : records[int(file)])
            out += field(key, std::size_t(2 * int(file) + 1)) + field(name, 40) + "\xFF\x01";
    else
        for (const ArticleFields& a : articles) {
            out += field(a.groupKey, 5) + field(a.name, 24);
            for (const std::string& other : a.otherNames)
                out += field(other, 24);
            out += field(a.description, 50);
            for (int value : {a.status, a.packingUnit, a.vatClass, a.priceUnit})
                out += littleEndian(value, 2);
            const int count = (a.tierCountByte >= 0 ? a.tierCountByte : int(a.priceTiers.size())) & 0xFF;
            out += char(count);
            for (int column = 0; column < 2 && count < 128; ++column)
                for (const auto& tier : a.priceTiers)
                    out += littleEndian(column == 0 ? tier.first : tier.second, 4);
        }
    return out;
}

bool CatalogWriter::writeTo(const QString& directory) const {
    bool ok = QDir().mkpath(directory);
    for (int f = 0; f < 4 && ok; ++f)
        ok = writeFileBytes(QDir(directory).filePath(fileName(CatalogFile(f))), fileBytes(CatalogFile(f)));
    return ok;
}

std::string latin1(const char* utf8) {
    return QString::fromUtf8(utf8).toLatin1().toStdString();
}

} // namespace vxtest
