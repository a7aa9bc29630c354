#pragma once
// The ways of painting one maze run (see paintTextureRun), all giving the
// same bytes: one for any processor, and a faster one where the processor
// has the instructions for it. paintTextureRun picks one once per process.

#include <cstdint>

#include "render/texture_span.h"

using TextureRunPainter = void (*)(std::uint8_t* pixels, const std::uint8_t* texture,
                                   const LineGradients& g, int offset, int count);

void paintTextureRunPortable(std::uint8_t* pixels, const std::uint8_t* texture,
                             const LineGradients& g, int offset, int count);

// The 512-bit vector painter, or nullptr where the processor (or the build's
// target) lacks it.
TextureRunPainter vectorTextureRunPainter();

// The painter paintTextureRun starts with: the vector one where there is
// one, unless KRV_PORTABLE_TEXTURING is set in the environment (to measure
// or compare the two).
TextureRunPainter chosenTextureRunPainter();

// Replaces the painter paintTextureRun uses; for tools that compare them.
void useTextureRunPainter(TextureRunPainter painter);
