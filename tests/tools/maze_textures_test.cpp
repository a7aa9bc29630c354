// The generated textures: palette range, seamless tiling, determinism.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/game_palette.h"
#include "textures/texture_gen.h"

namespace {

double colourDistance(int a, int b) {
    static const auto palette = game_palette();
    const auto& p = palette[a];
    const auto& q = palette[b];
    return std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
}

// Mean colour step between neighbouring columns (or rows), over `index`.
double meanStep(const TextureImage& image, int index, bool columns) {
    double sum = 0;
    for (int k = 0; k < kTextureSize; ++k) {
        const int a = columns ? k * kTextureSize + index : index * kTextureSize + k;
        const int next = (index + 1) % kTextureSize;
        const int b = columns ? k * kTextureSize + next : next * kTextureSize + k;
        sum += colourDistance(image.texels[a], image.texels[b]);
    }
    return sum / kTextureSize;
}

TEST(MazeTextures, EveryTextureTilesWithoutASeam) {
    for (const std::string& name : texture_names()) {
        TextureImage image;
        ASSERT_TRUE(make_texture(name, image));
        ASSERT_EQ(image.texels.size(), static_cast<std::size_t>(kTextureSize * kTextureSize));
        for (const bool columns : {true, false}) {
            double inside = 0, worst = 0;
            for (int i = 0; i < kTextureSize - 1; ++i) {
                const double step = meanStep(image, i, columns);
                inside += step;
                worst = std::max(worst, step);
            }
            inside /= kTextureSize - 1;
            // The wrap from the last column to the first must look like a
            // step inside the picture: no larger than its sharpest drawn
            // line (a plank or mortar joint may fall on the wrap), and where
            // the picture has no lines, like its average step.
            const double seam = meanStep(image, kTextureSize - 1, columns);
            EXPECT_LE(seam, std::max(3.0 * inside, 1.1 * worst) + 1.0) << name << (columns ? " columns" : " rows");
        }
    }
}

TEST(MazeTextures, TexelsStayInTheColourCubeAndRepeat) {
    for (const std::string& name : texture_names()) {
        TextureImage a, b;
        ASSERT_TRUE(make_texture(name, a));
        ASSERT_TRUE(make_texture(name, b));
        EXPECT_EQ(a.texels, b.texels) << name;
        int distinct = 0;
        std::vector<bool> seen(256, false);
        for (const std::uint8_t t : a.texels) {
            EXPECT_LT(t, 216) << name;
            if (!seen[t]) ++distinct;
            seen[t] = true;
        }
        EXPECT_GE(distinct, 3) << name << " is flat";
    }
    TextureImage none;
    EXPECT_FALSE(make_texture("no-such-texture", none));
}

TEST(MazeTextures, DitheringAveragesToTheColour) {
    // A colour half-way between two cube levels comes out as both, evenly.
    double sum = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) sum += (dither_to_cube(127.5, 0, 0, x, y) % 6) * 51.0;
    }
    EXPECT_NEAR(sum / 64.0, 127.5, 4.0);
    EXPECT_EQ(dither_to_cube(255, 255, 255, 3, 5), kWhite);
    EXPECT_EQ(dither_to_cube(0, 0, 0, 3, 5), kBlack);
}

}  // namespace
