#include "catalog/article.h"

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

namespace {
Latin1Text keep(TextStore* texts, TextStore::Field field, const char* bytes, std::size_t size) {
    const std::string_view text(bytes, size);
    return texts ? Latin1Text::viewOf(texts->keep(field, text)) : Latin1Text(text);
}
} // namespace

void Article::parse(const unsigned char* record, TextStore* texts) {
    const unsigned char* p = record;
    groupKey.assign(reinterpret_cast<const char*>(p), 5);
    p += 5;
    // Each text is simplified on the stack and stored once, in a string of its own size: temporary
    // strings per text cost a fifth of the loading time of a large catalog.
    char text[otherNameCount * (nameWidth + 2)];
    static_assert(sizeof text >= descriptionWidth);
    name = keep(texts, TextStore::Name, text, simplifiedText(text, p, nameWidth));
    p += nameWidth;
    std::size_t joined = 0;
    for (int i = 0; i < otherNameCount; ++i, p += nameWidth) {
        const std::size_t start = joined > 0 ? joined + 2 : 0;
        const std::size_t length = simplifiedText(text + start, p, nameWidth);
        // An empty name gets no separator.
        if (length == 0)
            continue;
        if (joined > 0) {
            text[joined] = ';';
            text[joined + 1] = ' ';
        }
        joined = start + length;
    }
    otherNames = keep(texts, TextStore::OtherNames, text, joined);
    description = keep(texts, TextStore::Description, text, simplifiedText(text, p, descriptionWidth));
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

int Article::read(std::istream& in) {
    // Read whole pieces of the record; a short read leaves eof set and the caller drops the record.
    unsigned char record[fixedSize + 8 * 127];
    priceTiers.clear();
    groupKey.clear();
    name = otherNames = description = Latin1Text();
    in.read(reinterpret_cast<char*>(record), fixedSize);
    if (in.gcount() != static_cast<std::streamsize>(fixedSize))
        return 0;
    const int n = tierCount(record);
    in.read(reinterpret_cast<char*>(record + fixedSize), 8 * n);
    if (in.gcount() != 8 * n)
        return 0;
    parse(record);
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
