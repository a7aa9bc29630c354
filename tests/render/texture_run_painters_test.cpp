// The maze's run painters must agree byte for byte with the texturing the
// other rasterizers use, whatever instruction set paints them, and must
// touch no pixel outside the run.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "geometry/texture_list.h"
#include "render/texture_run_painters.h"

namespace {

constexpr int kGuard = 32;
constexpr std::uint8_t kUntouched = 0xA5;

struct RunCase {
    LineGradients g;
    int offset = 0;
    int count = 0;
};

// Gradients over the whole range the maze produces and beyond: near and far
// surfaces, steep perspective, both directions, and 16.16 values too big
// for 32 bits (which wrap).
RunCase randomRun(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_real_distribution<float> exponent(-5.0f, 1.0f);
    RunCase c;
    c.count = std::uniform_int_distribution<int>(1, 620)(random);
    c.offset = std::uniform_int_distribution<int>(0, 40)(random);
    c.g.w = std::pow(10.0f, exponent(random));
    c.g.dw = c.g.w * 0.002f * unit(random);
    const float scale = std::pow(10.0f, std::uniform_real_distribution<float>(0.0f, 6.0f)(random));
    c.g.uw = c.g.w * scale * unit(random);
    c.g.vw = c.g.w * scale * unit(random);
    c.g.duw = c.g.w * scale * 0.05f * unit(random);
    c.g.dvw = c.g.w * scale * 0.05f * unit(random);
    return c;
}

std::vector<std::uint8_t> paint(TextureRunPainter painter, const std::vector<std::uint8_t>& texture,
                                const RunCase& c) {
    std::vector<std::uint8_t> line(kGuard + 640 + kGuard, kUntouched);
    painter(line.data() + kGuard, texture.data(), c.g, c.offset, c.count);
    return line;
}

class TextureRunPainters : public testing::Test {
protected:
    void SetUp() override {
        std::mt19937 random(7);
        for (auto& texel : texture) texel = static_cast<std::uint8_t>(random());
    }
    std::vector<std::uint8_t> texture = std::vector<std::uint8_t>(kTextureSize * kTextureSize);
};

TEST_F(TextureRunPainters, PortablePainterLandsOnTheSharedBlockTexels) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 2000; ++trial) {
        const RunCase c = randomRun(random);
        const std::vector<std::uint8_t> line = paint(paintTextureRunPortable, texture, c);
        std::vector<std::uint8_t> expected(kGuard + 640 + kGuard, kUntouched);
        mapTextureRun(texture.data(), c.g, c.offset, c.count,
                      [&](int i, std::uint8_t texel, float) { expected[kGuard + i] = texel; });
        ASSERT_EQ(line, expected) << "trial " << trial << ", " << c.count << " pixels";
    }
}

TEST_F(TextureRunPainters, VectorPainterPaintsWhatThePortableOneDoes) {
    const TextureRunPainter vector = vectorTextureRunPainter();
    if (!vector) GTEST_SKIP() << "this processor has no vector painter";
    std::mt19937 random(13);
    for (int trial = 0; trial < 20000; ++trial) {
        RunCase c = randomRun(random);
        // Every short-block length, and runs of whole blocks, many times over.
        if (trial < 400) c.count = 1 + trial % 40;
        ASSERT_EQ(paint(vector, texture, c), paint(paintTextureRunPortable, texture, c))
            << "trial " << trial << ", " << c.count << " pixels from offset " << c.offset;
    }
}

TEST_F(TextureRunPainters, PortableTexturingCanBeChosenFromTheEnvironment) {
    setenv("KRV_PORTABLE_TEXTURING", "1", 1);
    EXPECT_EQ(chosenTextureRunPainter(), &paintTextureRunPortable);
    unsetenv("KRV_PORTABLE_TEXTURING");
    const TextureRunPainter vector = vectorTextureRunPainter();
    EXPECT_EQ(chosenTextureRunPainter(), vector ? vector : &paintTextureRunPortable);
}

}  // namespace

namespace {

void paintSevens(std::uint8_t* pixels, const std::uint8_t*, const LineGradients&, int, int count) {
    for (int i = 0; i < count; ++i) pixels[i] = 7;
}

TEST_F(TextureRunPainters, MazeRunsGoToThePainterInUse) {
    std::vector<std::uint8_t> line(8, 0);
    useTextureRunPainter(paintSevens);
    paintTextureRun(line.data(), texture.data(), LineGradients{}, 0, 3);
    useTextureRunPainter(chosenTextureRunPainter());
    EXPECT_EQ(line, (std::vector<std::uint8_t>{7, 7, 7, 0, 0, 0, 0, 0}));
}

}  // namespace
