#include "geometry/texture_list.h"

#include <gtest/gtest.h>

#include "geometry/model.h"
#include "geometry/trig.h"
#include "support/object_files.h"

namespace {

TEST(TextureList, FirstDeclarationOfANameWins) {
    TextureList list;
    EXPECT_EQ(list.find("brick"), -1);
    list.add(256, 256, "brick", "brick.bmp");
    list.add(256, 256, "Brick", "other.bmp");
    list.add(256, 256, "brick", "brick2.bmp");
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.find("brick"), 1);
    EXPECT_EQ(list.find("Brick"), 2);  // case matters
    EXPECT_EQ(list.find("stone"), -1);
    EXPECT_EQ(list.entries[3]->path, "Pics\\brick2.bmp");
    EXPECT_EQ(list.bitmapOf(0), nullptr);
    EXPECT_EQ(list.bitmapOf(4), nullptr);
    EXPECT_EQ(list.bitmapOf(1), nullptr);  // not loaded yet
}

class TextureBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        buildTrigTables();
        ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "brick.bmp", 256, 256, 7));
    }
    TempDataFolder folder;
    TextureList textures;
};

TEST_F(TextureBitmaps, FacesOfEveryModelBindToTheFirstDeclaration) {
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "stone.bmp", 256, 256, 9));
    // The second model declares "brick" again, for another picture.
    const std::string first = folder.writeObject("a.krv", kSquareFloor);
    const std::string second =
        folder.writeObject("b.krv", replaced(kSquareFloor, "brick.bmp", "stone.bmp"));
    Model a(first, textures, -1, Vec3{}, ModelLoadMode::Check);
    Model b(second, textures, -1, Vec3{}, ModelLoadMode::Check);
    ASSERT_TRUE(a.loaded && b.loaded);
    EXPECT_EQ(textures.count, 2);

    std::vector<TextureProblem> problems;
    ASSERT_TRUE(textures.loadBitmaps(problems));
    a.resolveFaceBitmaps();
    b.resolveFaceBitmaps();
    ASSERT_NE(textures.bitmapOf(1), nullptr);
    EXPECT_EQ(a.faces[1].bitmap, textures.bitmapOf(1));
    EXPECT_EQ(b.faces[1].bitmap, textures.bitmapOf(1));
    EXPECT_EQ(textures.bitmapOf(1)->pixels[0], 7);
    EXPECT_EQ(textures.bitmapOf(2)->pixels[0], 9);  // loaded though no face uses it
    EXPECT_EQ(textures.entries[2]->width, 256);
}

TEST_F(TextureBitmaps, MissingOrWrongSizedBitmapsAreProblemsAtTheirDeclaration) {
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "small.bmp", 64, 64, 1));
    textures.add(256, 256, "brick", "brick.bmp", "Objects\\a.krv", 25);
    textures.add(256, 256, "small", "small.bmp", "Objects\\a.krv", 26);
    textures.add(256, 256, "gone", "gone.bmp", "Objects\\b.krv", 3);
    std::vector<TextureProblem> problems;
    EXPECT_FALSE(textures.loadBitmaps(problems));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 26);
    EXPECT_EQ(problems[0].reason,
              "texture 'small': Pics\\small.bmp: wrong size: 64x64, a texture must be 256x256");
    EXPECT_EQ(problems[1].file, "Objects\\b.krv");
    EXPECT_EQ(problems[1].reason, "texture 'gone': Pics\\gone.bmp: missing");
    EXPECT_EQ(problems[1].line, 3);
    EXPECT_NE(textures.bitmapOf(1), nullptr);
    EXPECT_EQ(textures.bitmapOf(2), nullptr);
}

TEST_F(TextureBitmaps, GameEndsWhenABitmapCannotBeUsed) {
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "small.bmp", 128, 256, 1));
    textures.add(256, 256, "small", "small.bmp");
    EXPECT_EXIT(textures.loadBitmaps(), ::testing::ExitedWithCode(1), "Can't find all Bitmaps!");
}

}  // namespace
