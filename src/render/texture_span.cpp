#include "render/texture_span.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "render/texture_run_painters.h"

namespace {

// Texels are packed into a word lowest address first.
static_assert(std::endian::native == std::endian::little);

// Four lanes of 16.16 coordinates, stepped together: lane i holds the
// coordinate of pixel i of a group of four. Wrapping 32-bit lanes give
// exactly what stepping one pixel at a time gives.
using Lanes = std::uint32_t __attribute__((vector_size(16)));

inline std::uint64_t eightTexels(const std::uint8_t* texture, const volatile std::uint32_t* index) {
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i) word |= std::uint64_t{texture[index[i]]} << (8 * i);
    return word;
}

}  // namespace

// Whole blocks go eight texels to one 64-bit store; the coordinates of a
// block are worked out apart from the fetches so that the fetches do not
// wait on each other.
void paintTextureRunPortable(std::uint8_t* pixels, const std::uint8_t* texture,
                             const LineGradients& g, int offset, int count) {
    // Each pass works out the following block's coordinates before it
    // fetches its own texels: when the loop ends (a branch the processor
    // rarely guesses), the short last block has its divide behind it
    // instead of ahead. After a run of whole blocks that one is unused:
    // stepping past the run's end is harmless, the values are dropped.
    PerspectiveBlocks blocks(g, offset);
    std::uint32_t nextU, nextV, nextSu, nextSv;
    blocks.next(nextU, nextV, nextSu, nextSv);
    for (; count >= kPerspectiveBlock; count -= kPerspectiveBlock) {
        const std::uint32_t uf = nextU;
        const std::uint32_t vf = nextV;
        const std::uint32_t su = nextSu;
        const std::uint32_t sv = nextSv;
        blocks.next(nextU, nextV, nextSu, nextSv);
        Lanes u = {uf, uf + su, uf + 2 * su, uf + 3 * su};
        Lanes v = {vf, vf + sv, vf + 2 * sv, vf + 3 * sv};
        const std::uint32_t su4 = 4 * su;
        const std::uint32_t sv4 = 4 * sv;
        // texelAt's address, four pixels at a time.
        alignas(16) std::uint32_t index[kPerspectiveBlock];
        for (int group = 0; group < kPerspectiveBlock; group += 4) {
            const Lanes address = ((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF);
            std::memcpy(index + group, &address, sizeof address);
            u += su4;
            v += sv4;
        }
        // Read back through memory (volatile keeps the compiler to that):
        // one load per address, where taking lanes out of the registers
        // costs two instructions each.
        const volatile std::uint32_t* flat = index;
        const std::uint64_t low = eightTexels(texture, flat);
        const std::uint64_t high = eightTexels(texture, flat + 8);
        std::memcpy(pixels, &low, 8);
        std::memcpy(pixels + 8, &high, 8);
        pixels += kPerspectiveBlock;
    }
    std::uint32_t uf = nextU;
    std::uint32_t vf = nextV;
    for (int i = 0; i < count; ++i) {
        pixels[i] = texelAt(texture, uf, vf);
        uf += nextSu;
        vf += nextSv;
    }
}

TextureRunPainter chosenTextureRunPainter() {
    const TextureRunPainter vector = vectorTextureRunPainter();
    if (vector && std::getenv("KRV_PORTABLE_TEXTURING") == nullptr) return vector;
    return paintTextureRunPortable;
}

namespace {

// Chosen before main: the game's loop then pays one indirect call per run.
TextureRunPainter currentPainter = chosenTextureRunPainter();

}  // namespace

void useTextureRunPainter(TextureRunPainter painter) { currentPainter = painter; }

void paintTextureRun(std::uint8_t* pixels, const std::uint8_t* texture, const LineGradients& g,
                     int offset, int count) {
    currentPainter(pixels, texture, g, offset, count);
}
