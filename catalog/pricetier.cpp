#include "catalog/pricetier.h"

#include "catalog/streamreaders.h"

void PriceTier::readQuantity(std::istream& in) {
    quantity = static_cast<int>(readUInt32(in));
}

void PriceTier::readPrice(std::istream& in) {
    price = readUInt32(in) / 1000.0;
}
