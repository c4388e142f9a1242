#pragma once

#include "catalog/pricetier.h"

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

class ArticleTexts;

// One article of the ART file. Texts are the raw Latin-1 bytes of the file, viewed where someone else keeps
// them: a loaded catalog's articles view its one store (Catalog::texts), so a copy of an article must not
// outlive its catalog.
struct Article {
    // Size of an ART record without its tiers; each tier adds 8 bytes.
    static constexpr std::size_t fixedSize = 232;
    // The longest texts a record can give: names are 24 bytes, six other names are joined by "; ".
    static constexpr std::size_t longestName = 24;
    static constexpr std::size_t longestDescription = 50;
    static constexpr std::size_t longestOtherNames = 6 * 24 + 5 * 2;

    std::string groupKey;
    std::string_view name;
    std::string_view description;
    std::string_view otherNames;
    int status = 0;
    int priceUnit = 0;
    int vatClass = 0;
    int packingUnit = 0;
    int orderedUnits = 0;
    std::vector<PriceTier> priceTiers;

    // Reads one ART record and appends its texts to texts, which the article then views: valid until texts
    // grows past its reserved room. A record cut short by the end of input leaves the stream at eof.
    // Always 0.
    int read(std::istream& in, ArticleTexts& texts);

    // Number of tiers a record announces, given its first fixedSize bytes.
    static int tierCount(const unsigned char* record);
    // Fills the article from one complete record (fixedSize + 8 * tierCount bytes) and appends its texts to
    // texts as the next article there; the article's own texts are left empty for the caller to point at
    // them once the store has stopped growing. orderedUnits stays. Throws std::length_error, changing
    // nothing, when texts is full (see ArticleTexts::append).
    void parse(const unsigned char* record, ArticleTexts& texts);

    // Price of the smallest order: packing unit, first tier's quantity and its gross amount (all 0 without
    // tiers).
    void firstTierPrice(int& packing, int& quantity, double& amount) const;
    // Prices are stored gross; dividing by this takes the VAT of the article's class back out.
    static double vatDivisor(int vatClass);
    // Whether the order dialog takes units for this article: at least the first tier's quantity, and no
    // units at all without tiers (no price to order at).
    bool acceptsOrderedUnits(int units) const {
        return !priceTiers.empty() && units >= priceTiers.front().quantity;
    }
    // Net and gross value of the ordered packing units (0 and 0 when no tier applies).
    void orderPrice(double& net, double& gross) const;
};
