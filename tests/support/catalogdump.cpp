#include "support/catalogdump.h"

namespace vxtest {

namespace {

QByteArray escaped(const std::string& bytes) {
    QByteArray out;
    for (const unsigned char c : bytes)
        out += c >= 0x20 && c < 0x7F && c != '\\' && c != '|'
                   ? QByteArray(1, char(c))
                   : "\\x" + QByteArray::number(c + 0x100, 16).mid(1);
    return out;
}

QByteArray line(int depth, const std::string& key, const std::string& name) {
    return QByteArray(depth * 2, ' ') + escaped(key) + " " + escaped(name) + "\n";
}

} // namespace

QByteArray dumpArticle(const Article& a) {
    QByteArray out = escaped(a.groupKey) + "|" + escaped(a.name) + "|" + escaped(a.otherNames) + "|" +
                     escaped(a.description) + "|";
    for (int number : {a.status, a.packingUnit, a.vatClass, a.priceUnit})
        out += QByteArray::number(number) + " ";
    out += QByteArray::number(a.orderedUnits) + "|";
    for (const PriceTier& tier : a.priceTiers)
        out += " " + QByteArray::number(tier.quantity) + "@" + QByteArray::number(tier.price, 'f', 3);
    return out;
}

QByteArray dumpCatalog(const Catalog& catalog) {
    QByteArray out;
    for (const Category& main : catalog) {
        out += line(0, main.key, main.name);
        for (const SubCategory& upper : main.subCategories) {
            out += line(1, upper.key, upper.name);
            for (const SubSubCategory& group : upper.subSubCategories) {
                out += line(2, group.key, group.name);
                for (const Article& article : group.articles)
                    out += "      " + dumpArticle(article) + "\n";
            }
        }
    }
    return out;
}

} // namespace vxtest
