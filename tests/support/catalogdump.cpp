#include "support/catalogdump.h"

namespace vxtest {

static QByteArray escaped(std::string_view bytes) {
    QByteArray out;
    for (const unsigned char c : bytes)
        out += c >= 0x20 && c < 0x7F && c != '\\' && c != '|'
                   ? QByteArray(1, char(c))
                   : "\\x" + QByteArray::number(c + 0x100, 16).mid(1);
    return out;
}

QByteArray dumpCatalog(const Catalog& catalog) {
    QByteArray out;
    for (const Category& main : catalog) {
        out += escaped(main.key) + " " + escaped(main.name) + "\n";
        for (const SubCategory& upper : main.subCategories) {
            out += "  " + escaped(upper.key) + " " + escaped(upper.name) + "\n";
            for (const SubSubCategory& group : upper.subSubCategories) {
                out += "    " + escaped(group.key) + " " + escaped(group.name) + "\n";
                for (const Article& a : group.articles) {
                    out += "      " + escaped(a.groupKey) + "|" + escaped(a.name) + "|" +
                           escaped(a.otherNames) + "|" + escaped(a.description) + "|";
                    for (int number : {a.status, a.packingUnit, a.vatClass, a.priceUnit})
                        out += QByteArray::number(number) + " ";
                    out += QByteArray::number(a.orderedUnits) + "|";
                    for (const PriceTier& tier : a.priceTiers)
                        out += " " + QByteArray::number(tier.quantity) + "@" +
                               QByteArray::number(tier.price, 'f', 3);
                    out += "\n";
                }
            }
        }
    }
    return out;
}

void walkOrders(const Catalog& catalog, std::vector<FoundArticle>& found, int& count, double& net,
                double& gross) {
    for (unsigned c = 0; c < catalog.size(); ++c)
        for (unsigned s = 0; s < catalog[c].subCategories.size(); ++s)
            for (unsigned ss = 0; ss < catalog[c].subCategories[s].subSubCategories.size(); ++ss) {
                const std::vector<Article>& articles =
                    catalog[c].subCategories[s].subSubCategories[ss].articles;
                for (unsigned a = 0; a < articles.size(); ++a) {
                    if (articles[a].orderedUnits <= 0)
                        continue;
                    double n = 0.0, g = 0.0;
                    articles[a].orderPrice(n, g);
                    ++count;
                    net += n;
                    gross += g;
                    found.push_back({&articles[a], {c, s, ss, a}});
                }
            }
}

} // namespace vxtest
