// The maze's texturing with 512-bit vectors: a perspective block of 16
// pixels is one vector of 16 texture addresses, one gather and one store,
// and a run's short last block is the same with a mask, so there is no
// pixel-at-a-time loop and no branch per pixel. The coordinates come from
// the same PerspectiveBlocks as everywhere else, and the float work is kept
// free of fused multiply-adds (the build says so for this folder), so every
// byte equals the portable painter's.

#include "render/texture_run_painters.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

// GCC 12's own intrinsics header leaves a register undefined on purpose in
// the narrowing conversion, and then warns about it where it is inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

#define KRV_VECTOR_TARGET __attribute__((target("avx512f,avx512bw,avx512vl")))

KRV_VECTOR_TARGET inline __m512i broadcast(std::uint32_t value) {
    return _mm512_set1_epi32(static_cast<int>(value));
}

// Up to 16 texels into pixels[0 .. 15], pixel i where `keep` has bit i. The
// texture is gathered a 32-bit word at a time, at texelAt's address over
// four so that every read stays inside the bitmap, and each texel is
// shifted out of its word.
KRV_VECTOR_TARGET inline void paintBlock(std::uint8_t* pixels, const std::uint8_t* texture,
                                         std::uint32_t u, std::uint32_t v, std::uint32_t su,
                                         std::uint32_t sv, __mmask16 keep) {
    // Lane i holds pixel i's coordinates: u + i * su wraps exactly as
    // stepping one pixel at a time does.
    const __m512i lane = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i us = _mm512_add_epi32(broadcast(u), _mm512_mullo_epi32(lane, broadcast(su)));
    const __m512i vs = _mm512_add_epi32(broadcast(v), _mm512_mullo_epi32(lane, broadcast(sv)));
    // texelAt's ((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF), split into the
    // word (address / 4) and the texel's bit position in it.
    const __m512i row = _mm512_and_si512(_mm512_srli_epi32(vs, 10), broadcast(0x3FC0));
    const __m512i column = _mm512_and_si512(_mm512_srli_epi32(us, 18), broadcast(0x3F));
    const __m512i shift = _mm512_and_si512(_mm512_srli_epi32(us, 13), broadcast(0x18));
    const __m512i words = _mm512_i32gather_epi32(_mm512_or_si512(row, column), texture, 4);
    const __m128i texels = _mm512_cvtepi32_epi8(_mm512_srlv_epi32(words, shift));
    if (keep == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), texels);
    } else {
        _mm_mask_storeu_epi8(pixels, keep, texels);
    }
}

KRV_VECTOR_TARGET void paintRun(std::uint8_t* pixels, const std::uint8_t* texture,
                                const LineGradients& g, int offset, int count) {
    // Each pass works out the following block's coordinates before it
    // fetches its own texels, so that the divide is not waited for.
    PerspectiveBlocks blocks(g, offset);
    std::uint32_t u, v, su, sv;
    blocks.next(u, v, su, sv);
    for (; count > 0; count -= kPerspectiveBlock, pixels += kPerspectiveBlock) {
        const std::uint32_t blockU = u, blockV = v, blockSu = su, blockSv = sv;
        blocks.next(u, v, su, sv);
        const __mmask16 keep = count >= kPerspectiveBlock
                                   ? __mmask16{0xFFFF}
                                   : static_cast<__mmask16>((1u << count) - 1);
        paintBlock(pixels, texture, blockU, blockV, blockSu, blockSv, keep);
    }
}

}  // namespace

TextureRunPainter vectorTextureRunPainter() {
    __builtin_cpu_init();
    const bool usable = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                        __builtin_cpu_supports("avx512vl");
    return usable ? paintRun : nullptr;
}

#else

TextureRunPainter vectorTextureRunPainter() { return nullptr; }

#endif
