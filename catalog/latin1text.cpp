#include "catalog/latin1text.h"

#include <algorithm>
#include <cstring>

Latin1Text::Latin1Text(std::string_view text) {
    length = std::uint32_t(std::min<std::size_t>(text.size(), UINT32_MAX));
    if (length == 0)
        return;
    char* copy = new char[length];
    std::memcpy(copy, text.data(), length);
    bytes = copy;
    owned = true;
}

Latin1Text Latin1Text::viewOf(std::string_view view) noexcept {
    Latin1Text text;
    text.length = std::uint32_t(std::min<std::size_t>(view.size(), UINT32_MAX));
    if (text.length > 0)
        text.bytes = view.data();
    return text;
}

Latin1Text::Latin1Text(const Latin1Text& other) {
    if (other.owned)
        *this = Latin1Text(other.view());
    else
        bytes = other.bytes, length = other.length;
}

Latin1Text::Latin1Text(Latin1Text&& other) noexcept
    : bytes(other.bytes), length(other.length), owned(other.owned) {
    other.bytes = "";
    other.length = 0;
    other.owned = false;
}

Latin1Text& Latin1Text::operator=(const Latin1Text& other) {
    if (this != &other)
        *this = Latin1Text(other);
    return *this;
}

Latin1Text& Latin1Text::operator=(Latin1Text&& other) noexcept {
    if (this != &other) {
        release();
        bytes = other.bytes, length = other.length, owned = other.owned;
        other.bytes = "";
        other.length = 0;
        other.owned = false;
    }
    return *this;
}

Latin1Text::~Latin1Text() {
    release();
}

void Latin1Text::release() noexcept {
    if (owned)
        delete[] bytes;
    bytes = "";
    length = 0;
    owned = false;
}

std::string_view TextArena::store(std::string_view text) {
    if (text.empty())
        return {};
    char* at = nullptr;
    if (text.size() > blockSize) {
        // A text larger than a block gets a block of its own; the current one stays current.
        blocks.emplace_back(new char[text.size()]);
        at = blocks.back().get();
    } else {
        if (text.size() > room) {
            // Not zeroed: pages of a block become resident only as texts fill them.
            blocks.emplace_back(new char[blockSize]);
            next = blocks.back().get();
            room = blockSize;
        }
        at = next;
        next += text.size();
        room -= text.size();
    }
    std::memcpy(at, text.data(), text.size());
    return {at, text.size()};
}
