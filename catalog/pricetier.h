#pragma once

// One step of an article's price scale: from quantity packing units on, price applies (gross, per price
// unit).
struct PriceTier {
    int quantity = 0;
    double price = 0.0;
};
