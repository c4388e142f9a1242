#include "support/catalogdump.h"

namespace vxtest {

namespace {

QByteArray escaped(const std::string& bytes) {
    QByteArray out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '|')
            out += char(c);
        else
            out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    }
    return out;
}

void dumpGroup(QByteArray& out, int depth, const std::string& key, const std::string& name) {
    out += QByteArray(depth * 2, ' ') + escaped(key) + " " + escaped(name) + "\n";
}

} // namespace

QByteArray dumpArticle(const Article& article) {
    QByteArray out =
        escaped(article.groupKey) + "|" + escaped(article.name) + "|" + escaped(article.otherNames) + "|" +
        escaped(article.description) + "|" + QByteArray::number(article.status) + " " +
        QByteArray::number(article.packingUnit) + " " + QByteArray::number(article.vatClass) + " " +
        QByteArray::number(article.priceUnit) + " " + QByteArray::number(article.orderedUnits) + "|";
    for (const PriceTier& tier : article.priceTiers)
        out += " " + QByteArray::number(tier.quantity) + "@" + QByteArray::number(tier.price, 'f', 3);
    return out;
}

QByteArray dumpCatalog(const Catalog& catalog) {
    QByteArray out;
    for (const Category& main : catalog) {
        dumpGroup(out, 0, main.key, main.name);
        for (const SubCategory& upper : main.subCategories) {
            dumpGroup(out, 1, upper.key, upper.name);
            for (const SubSubCategory& group : upper.subSubCategories) {
                dumpGroup(out, 2, group.key, group.name);
                for (const Article& article : group.articles)
                    out += "      " + dumpArticle(article) + "\n";
            }
        }
    }
    return out;
}

} // namespace vxtest
