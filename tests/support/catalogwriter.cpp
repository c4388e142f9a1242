#include "support/catalogwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace vxtest {

namespace {

void appendField(std::string& out, const std::string& text, std::size_t width) {
    const std::string field = text.substr(0, width);
    out += field;
    out.append(width - field.size(), '\0');
}

void appendInt16(std::string& out, int value) {
    const auto bits = static_cast<unsigned>(value);
    out += char(bits & 0xFF);
    out += char((bits >> 8) & 0xFF);
}

void appendUInt32(std::string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += char((bits >> shift) & 0xFF);
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
        appendInt16(out, value);
    const int count = tierCountByte >= 0 ? tierCountByte & 0xFF : int(priceTiers.size()) & 0xFF;
    out += char(count);
    if (count >= 128)
        return out;
    for (const auto& tier : priceTiers)
        appendUInt32(out, tier.first);
    for (const auto& tier : priceTiers)
        appendUInt32(out, tier.second);
    return out;
}

CatalogWriter& CatalogWriter::category(std::string key, std::string name) {
    records[int(CatalogFile::WgHaupt)].push_back({std::move(key), std::move(name)});
    return *this;
}

CatalogWriter& CatalogWriter::subCategory(std::string key, std::string name) {
    records[int(CatalogFile::WgOber)].push_back({std::move(key), std::move(name)});
    return *this;
}

CatalogWriter& CatalogWriter::subSubCategory(std::string key, std::string name) {
    records[int(CatalogFile::WgGruppe)].push_back({std::move(key), std::move(name)});
    return *this;
}

ArticleFields& CatalogWriter::article(std::string groupKey, std::string name) {
    ArticleFields item;
    item.groupKey = std::move(groupKey);
    item.name = std::move(name);
    item.priceTiers = {{1, 1000}};
    articleSpecs.push_back(std::move(item));
    return articleSpecs.back();
}

CatalogWriter& CatalogWriter::appendRaw(CatalogFile file, std::string bytes) {
    extra[int(file)] += bytes;
    return *this;
}

CatalogWriter& CatalogWriter::omit(CatalogFile file) {
    modes[int(file)] = Omit;
    return *this;
}

CatalogWriter& CatalogWriter::directoryInstead(CatalogFile file) {
    modes[int(file)] = Directory;
    return *this;
}

std::string CatalogWriter::fileBytes(CatalogFile file) const {
    std::string out;
    if (file == CatalogFile::Art) {
        for (const ArticleFields& item : articleSpecs)
            out += item.bytes();
    } else {
        const int keyLength = file == CatalogFile::WgHaupt ? 1 : file == CatalogFile::WgOber ? 3 : 5;
        for (const GroupFields& item : records[int(file)])
            out += item.bytes(keyLength);
    }
    return out + extra[int(file)];
}

bool CatalogWriter::writeTo(const QString& directory) const {
    QDir dir(directory);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    for (CatalogFile file :
         {CatalogFile::WgHaupt, CatalogFile::WgOber, CatalogFile::WgGruppe, CatalogFile::Art}) {
        const QString name = QLatin1String(fileName(file));
        // Nothing of an earlier description may survive in a reused directory.
        if (QFileInfo(dir.filePath(name)).isDir())
            QDir(dir.filePath(name)).removeRecursively();
        else
            QFile::remove(dir.filePath(name));
        if (modes[int(file)] == Omit)
            continue;
        if (modes[int(file)] == Directory) {
            if (!dir.mkpath(name))
                return false;
            continue;
        }
        QFile out(dir.filePath(name));
        const std::string data = fileBytes(file);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(data.data(), qint64(data.size())) != qint64(data.size()))
            return false;
    }
    return true;
}

const char* CatalogWriter::fileName(CatalogFile file) {
    switch (file) {
    case CatalogFile::WgHaupt:
        return "WGHAUPT";
    case CatalogFile::WgOber:
        return "WGOBER";
    case CatalogFile::WgGruppe:
        return "WGGRUPPE";
    case CatalogFile::Art:
        break;
    }
    return "ART";
}

std::string latin1(const char* utf8) {
    const QByteArray bytes = QString::fromUtf8(utf8).toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace vxtest
