#include "framework/page_hash.h"

#include <cstdio>

namespace {

constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

}  // namespace

std::uint64_t page_hash(const std::uint8_t* pixels, const PaletteEntry* palette) {
    std::uint64_t hash = kOffsetBasis;
    const auto add = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= kPrime;
    };
    for (int i = 0; i < kScreenPixels; ++i) add(pixels[i]);
    // The palette is part of the picture: a fade changes colours, not indices.
    for (int i = 0; i < 256; ++i) {
        add(palette[i].red);
        add(palette[i].green);
        add(palette[i].blue);
    }
    return hash;
}

std::string page_hash_text(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
