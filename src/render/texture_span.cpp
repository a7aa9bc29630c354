#include "render/texture_span.h"

#include <bit>
#include <cstring>

namespace {

// Texels are packed into a word lowest address first.
static_assert(std::endian::native == std::endian::little);

inline std::uint32_t texelIndex(std::uint32_t u, std::uint32_t v) {
    return ((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF);
}

inline std::uint64_t eightTexels(const std::uint8_t* texture, const std::uint32_t* index) {
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i) word |= std::uint64_t{texture[index[i]]} << (8 * i);
    return word;
}

}  // namespace

void paintTextureRun(std::uint8_t* pixels, const std::uint8_t* texture, const LineGradients& g,
                     int offset, int count) {
    PerspectiveBlocks blocks(g, offset);
    std::uint32_t uf, vf, su, sv;
    for (; count >= kPerspectiveBlock; count -= kPerspectiveBlock) {
        blocks.next(uf, vf, su, sv);
        std::uint32_t index[kPerspectiveBlock];
        for (int i = 0; i < kPerspectiveBlock; ++i) {
            index[i] = texelIndex(uf, vf);
            uf += su;
            vf += sv;
        }
        const std::uint64_t low = eightTexels(texture, index);
        const std::uint64_t high = eightTexels(texture, index + 8);
        std::memcpy(pixels, &low, 8);
        std::memcpy(pixels + 8, &high, 8);
        pixels += kPerspectiveBlock;
    }
    if (count > 0) {
        blocks.next(uf, vf, su, sv);
        for (int i = 0; i < count; ++i) {
            pixels[i] = texture[texelIndex(uf, vf)];
            uf += su;
            vf += sv;
        }
    }
}
