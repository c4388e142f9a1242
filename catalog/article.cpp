#include "catalog/article.h"

#include "catalog/articletexts.h"
#include "catalog/streamreaders.h"

namespace {
constexpr int nameWidth = int(Article::longestName);
constexpr int otherNameCount = 6;
constexpr int descriptionWidth = int(Article::longestDescription);
constexpr int tierCountOffset = 231;

// A gross amount of a price scale step: per 1 piece when priceUnit is 1, else per 100 pieces.
double grossAmount(long long pieces, double price, int priceUnit) {
    double amount = static_cast<double>(pieces) * price;
    if (priceUnit != 1)
        amount /= 100.0;
    return amount;
}
} // namespace

int Article::tierCount(const unsigned char* record) {
    // The count byte is signed: 128 and above means no tiers.
    return static_cast<signed char>(record[tierCountOffset]) > 0 ? record[tierCountOffset] : 0;
}

void Article::parse(const unsigned char* record, ArticleTexts& texts) {
    const unsigned char* p = record + 5;
    // The texts are simplified on the stack and copied once, straight into the store.
    char nameText[nameWidth];
    char descriptionText[descriptionWidth];
    char others[otherNameCount * (nameWidth + 2)];
    const std::size_t nameLength = simplifiedText(nameText, p, nameWidth);
    p += nameWidth;
    std::size_t joined = 0;
    for (int i = 0; i < otherNameCount; ++i, p += nameWidth) {
        const std::size_t start = joined > 0 ? joined + 2 : 0;
        const std::size_t length = simplifiedText(others + start, p, nameWidth);
        // An empty name gets no separator.
        if (length == 0)
            continue;
        if (joined > 0) {
            others[joined] = ';';
            others[joined + 1] = ' ';
        }
        joined = start + length;
    }
    // Folding turned every '\n' into a space.
    texts.append({nameText, nameLength},
                 {descriptionText, simplifiedText(descriptionText, p, descriptionWidth)}, {others, joined},
                 true);
    name = description = otherNames = {};
    groupKey.assign(reinterpret_cast<const char*>(record), 5);
    p += descriptionWidth;
    status = int16At(p);
    packingUnit = int16At(p + 2);
    vatClass = int16At(p + 4);
    priceUnit = int16At(p + 6);

    const int n = tierCount(record);
    const unsigned char* quantities = record + fixedSize;
    const unsigned char* prices = quantities + 4 * n;
    priceTiers.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        priceTiers[i].quantity = static_cast<int>(uint32At(quantities + 4 * i));
        priceTiers[i].price = uint32At(prices + 4 * i) / 1000.0;
    }
}

int Article::read(std::istream& in, ArticleTexts& texts) {
    // Read whole pieces of the record; a short read leaves eof set and the caller drops the record.
    unsigned char record[fixedSize + 8 * 127];
    priceTiers.clear();
    groupKey.clear();
    name = otherNames = description = {};
    in.read(reinterpret_cast<char*>(record), fixedSize);
    if (in.gcount() != static_cast<std::streamsize>(fixedSize))
        return 0;
    const int n = tierCount(record);
    in.read(reinterpret_cast<char*>(record + fixedSize), 8 * n);
    if (in.gcount() != 8 * n)
        return 0;
    parse(record, texts);
    const std::uint32_t last = texts.size() - 1;
    name = texts.field(ArticleTexts::Name, last);
    description = texts.field(ArticleTexts::Description, last);
    otherNames = texts.field(ArticleTexts::OtherNames, last);
    return 0;
}

void Article::firstTierPrice(int& packing, int& quantity, double& amount) const {
    if (priceTiers.empty()) {
        packing = quantity = 0;
        amount = 0.0;
        return;
    }
    quantity = priceTiers.front().quantity;
    packing = packingUnit;
    // Widened so that large quantities never wrap.
    amount = grossAmount(static_cast<long long>(quantity) * packing, priceTiers.front().price, priceUnit);
}

double Article::vatDivisor(int vatClass) {
    return vatClass == 1 ? 1.16 : 1.07;
}

void Article::orderPrice(double& net, double& gross) const {
    net = gross = 0.0;
    const PriceTier* tier = nullptr;
    for (const PriceTier& t : priceTiers) {
        if (t.quantity > orderedUnits)
            break;
        tier = &t;
    }
    // Below the first tier no price applies.
    if (!tier)
        return;
    gross = grossAmount(static_cast<long long>(orderedUnits) * packingUnit, tier->price, priceUnit);
    net = gross / vatDivisor(vatClass);
}
