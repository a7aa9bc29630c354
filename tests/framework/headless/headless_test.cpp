// The headless backend: key scripts, the loop driven through it, and frames
// written as PNG files.

#include "framework/headless/headless.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/framework.h"

namespace {

namespace fs = std::filesystem;
using Script = HeadlessBackend::KeyScript;

std::string parseError(std::string_view text) {
    Script script;
    std::string error;
    EXPECT_FALSE(HeadlessBackend::parseScript(text, "keys.txt", script, error)) << text;
    return error;
}

TEST(KeyScriptTest, ParsesEveryActionWithCommentsAndBlankLines) {
    Script script;
    std::string error;
    const std::string text =
        "# a walk\n"
        "\n"
        "10 down F1   # help\n"
        "12 UP f1\n"
        "  15 press Esc\n"
        "16 down a\n"
        "17 down 0\n"
        "18 down 57\n"
        "19 down 05\n"
        "40 shot\n"
        "100 end\n"
        "90 end\n";
    ASSERT_TRUE(HeadlessBackend::parseScript(text, "keys.txt", script, error)) << error;
    const std::vector<std::tuple<int, bool, int>> expected = {{10, true, scan::kF1},
                                                              {12, false, scan::kF1},
                                                              {15, true, scan::kEscape},
                                                              {16, false, scan::kEscape},
                                                              {16, true, 30},
                                                              {17, true, 11},
                                                              {18, true, 57},
                                                              {19, true, 5}};
    ASSERT_EQ(script.actions.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [iteration, down, scanCode] = expected[i];
        EXPECT_EQ(script.actions[i].iteration, iteration) << i;
        EXPECT_EQ(script.actions[i].down, down) << i;
        EXPECT_EQ(script.actions[i].scanCode, scanCode) << i;
    }
    EXPECT_EQ(script.shots, std::set<int>{40});
    EXPECT_EQ(script.endIteration, 90);  // the earliest end wins

    for (const auto& [name, code] : std::vector<std::pair<const char*, int>>{{"Esc", 1},
                                                                             {"1", 2},
                                                                             {"3", 4},
                                                                             {"T", 20},
                                                                             {"Enter", 28},
                                                                             {"Space", 57},
                                                                             {"F10", 68},
                                                                             {"Up", 72},
                                                                             {"PgUp", 73},
                                                                             {"PgDn", 81},
                                                                             {"Del", 83},
                                                                             {"Alt", 56},
                                                                             {"M", 50},
                                                                             {"n", 49},
                                                                             {"F", 33},
                                                                             {"Home", 71},
                                                                             {"End", 79},
                                                                             {"255", 255}}) {
        EXPECT_EQ(HeadlessBackend::scanCodeOfKeyName(name), code) << name;
    }
    for (const char* bad : {"", "F13", "Escc", "256", "00", "-1", "?"}) {
        EXPECT_EQ(HeadlessBackend::scanCodeOfKeyName(bad), 0) << bad;
    }
}

TEST(KeyScriptTest, ErrorsNameTheFileAndLine) {
    EXPECT_EQ(parseError("1 down F1\n\n3 down Banana\n"), "keys.txt:3: unknown key 'Banana'");
    EXPECT_EQ(parseError("# x\nfive down F1\n"),
              "keys.txt:2: 'five' is not an iteration number (0 to 100000000)");
    EXPECT_EQ(parseError("-1 down F1\n"),
              "keys.txt:1: '-1' is not an iteration number (0 to 100000000)");
    EXPECT_EQ(parseError("999999999999 end\n"),
              "keys.txt:1: '999999999999' is not an iteration number (0 to 100000000)");
    EXPECT_EQ(parseError("4 jump\n"),
              "keys.txt:1: unknown action 'jump' (down, up, press, shot, end)");
    EXPECT_EQ(parseError("4\n"),
              "keys.txt:1: an action (down, up, press, shot, end) must follow the iteration");
    EXPECT_EQ(parseError("4 press\n"), "keys.txt:1: 'press' takes exactly one key name");
    EXPECT_EQ(parseError("4 down F1 F2\n"), "keys.txt:1: 'down' takes exactly one key name");
    EXPECT_EQ(parseError("1 end\n2 shot now\n"), "keys.txt:2: 'shot' takes nothing after it");

    HeadlessBackend backend;
    std::string error;
    EXPECT_FALSE(backend.loadScript("/nonexistent/keys.txt", error));
    EXPECT_EQ(error, "/nonexistent/keys.txt: cannot open the key script");
}

// What the tiny test game saw, per loop iteration.
struct Seen {
    HeadlessBackend* backend = nullptr;
    std::vector<std::pair<int, int>> keyDowns;  // iteration, message word
    std::vector<int> upHeld;                    // keyState[Up] at each update
    int draws = 0;
};
Seen seen;

void recordKeyDown(const FwEvent& event) {
    seen.keyDowns.push_back({seen.backend->iteration(), static_cast<int>(event.message)});
}
void recordUpdate() {
    seen.upHeld.push_back(keyState[scan::kUp]);
}
void drawIterationColour() {
    ++seen.draws;
    // Each frame is filled with its iteration number: a frame on disk tells
    // which iteration it came from.
    DrawContext& page = *fw_draw_context();
    std::fill_n(page.pixels, kScreenPixels, static_cast<std::uint8_t>(seen.backend->iteration()));
    fw_swap_buffers(1);
}

class HeadlessLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw_reset();
        backend_.reset();
        fw_use_backend(&backend_);
        seen = Seen{};
        seen.backend = &backend_;
        folder_ = fs::path(::testing::TempDir()) / ("krv_headless_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fw_use_headless_backend();
        fw_reset();
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    // The start-up order of the game, cut down to the loop's needs.
    int runLoop() {
        if (!fw_init("test")) return -1;
        fw_set_key_down_callback(recordKeyDown);
        fw_set_update_callback(recordUpdate);
        fw_set_draw_callback(drawIterationColour);
        ModeChoice mode;
        int windowed = 1;
        if (!fw_choose_mode(&mode, &windowed) || !fw_set_mode(mode, windowed, 2, 1)) return -1;
        std::vector<PaletteEntry> palette(256);
        for (int i = 0; i < 256; ++i)
            palette[i] = {static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i), 0};
        fw_set_palette(palette.data(), 256, 0);
        fw_realize_palette(256, 0, 1);
        return fw_main_loop();
    }
    HeadlessBackend backend_;
    fs::path folder_;
};

TEST_F(HeadlessLoopTest, ScriptedKeysReachTheGameInTheirIterationAndKeyStateFollows) {
    std::ofstream(folder_ / "keys.txt") << "2 press F1\n3 down Up\n5 up Up\n5 down t\n6 end\n";
    std::string error;
    ASSERT_TRUE(backend_.loadScript((folder_ / "keys.txt").string(), error)) << error;
    backend_.setClock(1000);
    backend_.setClockStep(500);

    EXPECT_EQ(runLoop(), 0);
    const std::vector<std::pair<int, int>> expected = {
        {2, (scan::kF1 << 8)}, {3, (scan::kUp << 8)}, {5, (scan::kT << 8) | 't'}};
    EXPECT_EQ(seen.keyDowns, expected);
    EXPECT_EQ(seen.upHeld, (std::vector<int>{0, 0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(keyState[scan::kF1], 0);   // released at iteration 3
    EXPECT_EQ(keyState[scan::kT], 1);    // never released
    EXPECT_EQ(backend_.iteration(), 7);  // iteration 6 still ran in full
    EXPECT_EQ(seen.draws, 7);
    EXPECT_EQ(backend_.microseconds(), 1000u + 7u * 500u);
    EXPECT_TRUE(backend_.shutDown());
    EXPECT_FALSE(backend_.stoppedByLimit());
    EXPECT_FALSE(fw_has_display());
}

TEST_F(HeadlessLoopTest, MarkedFramesAreWrittenAsPngThroughThePalette) {
    std::ofstream(folder_ / "keys.txt") << "3 shot\n";
    std::string error;
    ASSERT_TRUE(backend_.loadScript((folder_ / "keys.txt").string(), error)) << error;
    const fs::path frames = folder_ / "frames";
    backend_.captureFrames(frames.string(), {1});
    backend_.setIterationLimit(5);

    EXPECT_EQ(runLoop(), 0);
    EXPECT_TRUE(backend_.stoppedByLimit());
    EXPECT_EQ(backend_.iteration(), 5);
    EXPECT_EQ(backend_.framesWritten(), 2);
    EXPECT_EQ(backend_.lastFrame()[0], 4);
    EXPECT_FALSE(fs::exists(frames / "frame_00000.png"));
    EXPECT_FALSE(fs::exists(frames / "frame_00002.png"));

    for (const int iteration : {1, 3}) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05d.png", iteration);
        ASSERT_NE(png_image_begin_read_from_file(&image, (frames / name).c_str()), 0) << name;
        image.format = PNG_FORMAT_RGB;
        std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
        ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
        ASSERT_EQ(image.width, 640u);
        ASSERT_EQ(image.height, 480u);
        // Palette entry i is blue i, red 255 - i.
        EXPECT_EQ(rgb[0], 255 - iteration);
        EXPECT_EQ(rgb[1], 0);
        EXPECT_EQ(rgb[2], iteration);
        EXPECT_EQ(rgb[rgb.size() - 1], iteration);
    }
}

TEST_F(HeadlessLoopTest, DialogQuitNeverOpensTheDisplay) {
    backend_.setDialogAnswer(false);
    EXPECT_EQ(runLoop(), -1);
    EXPECT_FALSE(fw_has_display());
    EXPECT_EQ(seen.draws, 0);
}

}  // namespace
