#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "framework/framework.h"
#include "support/headless_game.h"
#include "shell/frame.h"
#include "shell/game_palette.h"

namespace {

bool gameContentPresent() {
    return std::filesystem::exists(std::filesystem::path(KRV_GAME_DIR) / "Pics" / "border1.bmp");
}

// Runs of the whole game need the generated default content.
class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gameContentPresent()) << "no generated content in " << KRV_GAME_DIR;
    }
};

}  // namespace

TEST(DimFrame, ClearsEveryThirdByteFromTheFirst) {
    std::vector<std::uint8_t> frame(kScreenPixels, 7);
    dim_frame(frame.data());
    int cleared = 0;
    for (int i = 0; i < kScreenPixels; ++i) {
        EXPECT_EQ(frame[i], (i % 3 == 0) ? 0 : 7) << i;
        if (frame[i] == 0) ++cleared;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_EQ(cleared, 102400);
    // The stripes shift by one pixel per row: row 1 starts with pixel 2 cleared.
    EXPECT_EQ(frame[640 + 2], 0);
    EXPECT_EQ(frame[640 + 0], 7);
}

TEST(GamePalette, CubeWhiteAndBlack) {
    const auto palette = game_palette();
    EXPECT_EQ(palette[215].red, 255);
    EXPECT_EQ(palette[215].green, 255);
    EXPECT_EQ(palette[215].blue, 255);
    EXPECT_EQ(palette[216].red + palette[216].green + palette[216].blue, 0);
    EXPECT_EQ(palette[1].red, 51);
    EXPECT_EQ(palette[6].green, 51);
    EXPECT_EQ(palette[36].blue, 51);
    EXPECT_EQ(nearest_cube_index(255, 255, 255), 215);
    EXPECT_EQ(nearest_cube_index(30, 0, 0), 1);
}

TEST_F(ShellRun, F10EndsTheGameAfterTheCurrentIteration) {
    HeadlessGame run;
    run.press(3, scan::kF10);
    EXPECT_EQ(run.run(100), 0);
    EXPECT_EQ(run.backend().iteration(), 4);
    EXPECT_TRUE(run.backend().shutDown());
    // The iteration that saw F10 still drew its frame.
    EXPECT_EQ(run.backend().framesPresented(), 4);
}

TEST_F(ShellRun, DialogQuitOpensNothing) {
    HeadlessGame run;
    run.backend().setDialogAnswer(false);
    EXPECT_EQ(run.run(100), 0);
    EXPECT_EQ(run.backend().framesPresented(), 0);
    EXPECT_FALSE(fw_has_display());
}

TEST_F(ShellRun, EscOpensTheMenuAndEnterExits) {
    HeadlessGame run;
    run.press(2, scan::kEscape);
    run.press(5, scan::kUp);    // one item: the selection stays on it
    run.press(7, scan::kEnter);
    EXPECT_EQ(run.run(100), 0);
    EXPECT_EQ(run.backend().iteration(), 8);
    const Game& g = game();
    EXPECT_EQ(g.state.optionsShown, 1);
    EXPECT_EQ(g.state.quitRequested, 1);
    EXPECT_EQ(g.menu.selected, 0);
    // The selected picture is drawn at (30, 30) with 215 transparent.
    const GfxBitmap& picture = *g.menu.pictures[0];
    int opaque = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t value = picture.pixels[y * picture.bytesPerLine + x];
            if (value == OptionsMenu::kTransparent) continue;
            ++opaque;
            ASSERT_EQ(run.pixel(30 + x, 30 + y), value) << x << "," << y;
        }
    }
    EXPECT_GT(opaque, 0);
}

TEST_F(ShellRun, EnterWithTheMenuClosedDoesNothing) {
    HeadlessGame run;
    run.press(2, scan::kEnter);
    EXPECT_EQ(run.run(6), 0);
    EXPECT_EQ(run.backend().iteration(), 6);
    EXPECT_EQ(game().state.quitRequested, 0);
}

TEST_F(ShellRun, EscWhileHelpIsUpOnlyClosesTheHelp) {
    HeadlessGame run;
    run.press(1, scan::kF1);
    run.press(3, scan::kEscape);
    run.run(6);
    EXPECT_EQ(game().state.helpShown, 0);
    EXPECT_EQ(game().state.optionsShown, 0);
}

TEST_F(ShellRun, HelpIsDimmedWithElevenLinesAndWinsOverTheMenu) {
    HeadlessGame run;
    run.press(1, scan::kEscape);  // menu
    run.press(3, scan::kF1);      // help over it
    run.run(6);
    EXPECT_EQ(game().state.optionsShown, 1);
    EXPECT_EQ(game().state.helpShown, 1);
    // Dimmed: every third byte is 0 except where text was drawn; the menu's
    // picture is not there.
    std::vector<std::uint8_t> expected(
        game().backgroundPicture->pixels, game().backgroundPicture->pixels + kScreenPixels);
    dim_frame(expected.data());
    int differing = 0;
    int white = 0;
    for (int i = 0; i < kScreenPixels; ++i) {
        // The maze shows through the 3D view between the dimmed bytes.
        const int x = i % 640, y = i / 640;
        const bool inView = x >= 10 && x < 630 && y >= 10 && y < 400;
        if (inView && i % 3 != 0) continue;
        if (run.frame()[i] != expected[i]) {
            ++differing;
            EXPECT_EQ(run.frame()[i], kWhite);
            // Text only between y 40 and 260.
            EXPECT_GE(i / 640, 40);
            EXPECT_LT(i / 640, 261);
        }
        if (run.frame()[i] == kWhite) ++white;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(differing, 11 * 20);  // eleven lines of glyphs
    EXPECT_GT(white, 0);
}

TEST_F(ShellRun, FrameRateShowsFromTheEleventhShownFrame) {
    HeadlessGame run;
    run.press(0, scan::kT);
    run.run(10);
    EXPECT_EQ(game().fps.text, "");
    destroy_game();

    HeadlessGame again;
    again.press(0, scan::kT);
    again.run(11);
    // Ten frames 33333 us apart are measured: 30 frames per second.
    EXPECT_EQ(game().fps.text, "30.00");
}

TEST_F(ShellRun, HoldingAToggleActsOncePerPress) {
    HeadlessGame run;
    run.hold(1, scan::kT);
    run.release(20, scan::kT);
    run.run(25);
    EXPECT_EQ(game().state.fpsShown, 1);
}

TEST_F(ShellRun, MissingBackgroundIsFatal) {
    namespace fs = std::filesystem;
    const fs::path copy = fs::temp_directory_path() / "krv_no_border";
    fs::remove_all(copy);
    fs::copy(KRV_GAME_DIR, copy, fs::copy_options::recursive);
    fs::remove(copy / "Pics" / "border1.bmp");
    EXPECT_EXIT(
        {
            HeadlessGame run(copy.string());
            run.run(5);
        },
        ::testing::ExitedWithCode(1), "Can't find all Bitmaps!");
    fs::remove_all(copy);
}

TEST_F(ShellRun, MissingMenuPictureIsFatalBeforeTheDialog) {
    namespace fs = std::filesystem;
    const fs::path copy = fs::temp_directory_path() / "krv_no_menu";
    fs::remove_all(copy);
    fs::copy(KRV_GAME_DIR, copy, fs::copy_options::recursive);
    fs::remove(copy / "Pics" / "ext_not.bmp");
    EXPECT_EXIT(
        {
            HeadlessGame run(copy.string());
            run.run(5);
        },
        ::testing::ExitedWithCode(1), "Can't find all Bitmaps!");
    fs::remove_all(copy);
}
