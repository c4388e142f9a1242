#include "support/catalogwriter.h"

#include <QDir>
#include <QFile>

namespace vxtest {

namespace {

void appendField(std::string& out, const std::string& text, std::size_t width) {
    out += text.substr(0, width);
    out.append(width - std::min(width, text.size()), '\0');
}

void appendLittleEndian(std::string& out, std::int64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

} // namespace

std::string GroupFields::bytes(int keyLength) const {
    std::string out;
    appendField(out, key, std::size_t(keyLength));
    appendField(out, name, 40);
    appendField(out, trailer, 2);
    return out;
}

ArticleFields& ArticleFields::numbers(int status_, int packingUnit_, int vatClass_, int priceUnit_) {
    status = status_;
    packingUnit = packingUnit_;
    vatClass = vatClass_;
    priceUnit = priceUnit_;
    return *this;
}

std::string ArticleFields::bytes() const {
    std::string out;
    appendField(out, groupKey, 5);
    appendField(out, name, 24);
    for (const std::string& other : otherNames)
        appendField(out, other, 24);
    appendField(out, description, 50);
    for (int value : {status, packingUnit, vatClass, priceUnit})
        appendLittleEndian(out, value, 2);
    const int count = (tierCountByte >= 0 ? tierCountByte : int(priceTiers.size())) & 0xFF;
    out += char(count);
    for (int column = 0; column < 2 && count < 128; ++column)
        for (const auto& tier : priceTiers)
            appendLittleEndian(out, column == 0 ? tier.first : tier.second, 4);
    return out;
}

ArticleFields& CatalogWriter::article(std::string groupKey, std::string name) {
    ArticleFields item;
    item.groupKey = std::move(groupKey);
    item.name = std::move(name);
    item.priceTiers = {{1, 1000}};
    articleSpecs.push_back(std::move(item));
    return articleSpecs.back();
}

std::string CatalogWriter::fileBytes(CatalogFile file) const {
    std::string out;
    if (file == CatalogFile::Art)
        for (const ArticleFields& item : articleSpecs)
            out += item.bytes();
    else
        for (const GroupFields& item : records[int(file)])
            out += item.bytes(2 * int(file) + 1);
    return out + extra[int(file)];
}

bool CatalogWriter::writeTo(const QString& directory) const {
    QDir dir(directory);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    for (int f = 0; f < 4; ++f) {
        const QString path = dir.filePath(QLatin1String(fileName(CatalogFile(f))));
        // Nothing of an earlier description may survive in a reused directory.
        QDir(path).removeRecursively();
        QFile::remove(path);
        QFile out(path);
        const std::string data = fileBytes(CatalogFile(f));
        if (modes[f] == Directory
                ? !dir.mkpath(path)
                : modes[f] == Write && (!out.open(QIODevice::WriteOnly) ||
                                        out.write(data.data(), qint64(data.size())) != qint64(data.size())))
            return false;
    }
    return true;
}

const char* CatalogWriter::fileName(CatalogFile file) {
    static const char* const names[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"};
    return names[int(file)];
}

std::string latin1(const char* utf8) {
    return QString::fromUtf8(utf8).toLatin1().toStdString();
}

} // namespace vxtest
