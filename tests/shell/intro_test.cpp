#include "shell/intro.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "support/object_files.h"
#include "support/headless_game.h"
#include "shell/frame.h"
#include "shell/intro_file.h"
#include "support/wav_bytes.h"

namespace {

IntroFileContent parse(std::string_view text) {
    const TempDataFolder folder;
    folder.writeData("krv.int", text);
    return readIntroFile();
}

constexpr std::uint32_t kFrameMicroseconds = 33333;  // the headless clock's step

// Plays the intro the way the draw callback does, one frame per clock step
// from 0: the first entry of the group each frame shows.
std::vector<std::size_t> framesShown(Intro& intro) {
    std::vector<std::size_t> shown;
    for (std::uint32_t frame = 0; !intro.finished() && frame < 1000; ++frame) {
        const IntroGroup group = intro.currentGroup();
        shown.push_back(group.first);
        intro.advance(group, frame * kFrameMicroseconds);
    }
    return shown;
}

}  // namespace

TEST(IntroFile, EntriesAreFourLinesTakenAsTheyCome) {
    const IntroFileContent content =
        parse("; comment\n\n-nothing\n 10 px\n-20\n;5\n\npic.bmp\n1\n2\n3\n-\n0\n0");
    ASSERT_EQ(content.entries.size(), 2u);
    EXPECT_FALSE(content.entries[0].hasPicture());
    EXPECT_EQ(content.entries[0].x, 10);
    EXPECT_EQ(content.entries[0].y, -20);
    EXPECT_EQ(content.entries[0].time, 0);  // ";5" is the time line, no number
    EXPECT_EQ(content.entries[0].line, 3);
    EXPECT_EQ(content.entries[1].name, "pic.bmp");
    EXPECT_EQ(content.entries[1].time, 3);
    // The third entry lacks its time line: left out, said where it began.
    ASSERT_EQ(content.problems.size(), 1u);
    EXPECT_EQ(content.problems[0].line, 12);
}

TEST(Intro, GroupsLastUntilTheirTimeAndAPassedGroupShowsOneFrame) {
    IntroFileContent content;
    // Zero-time entries are layers under the next; times count from the start.
    for (const auto& [name, time] : std::vector<std::pair<const char*, int>>{
             {"-a", 0}, {"-b", 300}, {"-c", 0}, {"-d", 200}, {"-e", 0}}) {
        content.entries.push_back({name, 0, 0, time, 0});
    }
    Intro intro;
    intro.build(content);
    const IntroGroup first = intro.currentGroup();
    EXPECT_EQ(first.first, 0u);
    EXPECT_EQ(first.end, 1u);

    const std::vector<std::size_t> shown = framesShown(intro);
    // a+b until the stopwatch reaches 300 ms: frames 0 to 9 are below it and
    // frame 10 (333 ms) is the last; c+d is already past 200 ms and shows
    // once; e, the last entry with time 0, shows once and ends the intro.
    std::vector<std::size_t> expected(11, 0);
    expected.push_back(2);
    expected.push_back(4);
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(intro.finished());

    Intro empty;
    empty.build({});
    EXPECT_TRUE(empty.finished());
}

TEST(Intro, EntriesOfOneNameShareOnePicture) {
    const TempDataFolder folder;
    folder.writeData("krv.int", "a.bmp\n0\n0\n0\n-\n0\n0\n0\nb.bmp\n5\n5\n0\na.bmp\n9\n9\n100\n");
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "a.bmp", 4, 4, 1));
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "b.bmp", 4, 4, 2));
    Intro intro;
    intro.build(readIntroFile());
    ASSERT_EQ(intro.entries.size(), 4u);
    EXPECT_TRUE(intro.entries[0].ownsPicture());
    EXPECT_EQ(intro.entries[1].picture, nullptr);
    EXPECT_TRUE(intro.entries[2].ownsPicture());
    EXPECT_FALSE(intro.entries[3].ownsPicture());
    EXPECT_EQ(intro.entries[3].picture, intro.entries[0].picture);
    intro.release();
    EXPECT_TRUE(intro.entries.empty());
    EXPECT_TRUE(intro.finished());

    std::filesystem::remove(folder.root() / "Pics" / "b.bmp");
    EXPECT_EXIT(
        {
            Intro missing;
            missing.build(readIntroFile());
        },
        ::testing::ExitedWithCode(1), "Data\\\\krv.int:9: .*\nCan't find all Bitmaps!");
}

// The whole game on a copy of the generated content with an intro of its
// own: a red picture for 200 ms over a layer, then the maze.
class IntroRun : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        ASSERT_TRUE(fs::exists(fs::path(KRV_GAME_DIR) / "Pics" / "border1.bmp"))
            << "no generated content in " << KRV_GAME_DIR;
        copy_ = fs::temp_directory_path() / ("krv_intro_run_" + std::to_string(::getpid()));
        fs::remove_all(copy_);
        fs::copy(KRV_GAME_DIR, copy_, fs::copy_options::recursive);
        ASSERT_TRUE(writeTestBitmap(copy_ / "Pics" / "layer.bmp", 100, 100, kLayer));
        ASSERT_TRUE(writeTestBitmap(copy_ / "Pics" / "red.bmp", 20, 20, kRed));
        std::ofstream(copy_ / "Data" / "krv.int")
            << "layer.bmp\n50\n50\n0\nred.bmp\n60\n60\n200\n";
        // Music far longer than the intro, at a level no other sound has.
        wavbytes::writeFile(copy_ / "Wavs" / "intro.wav",
                            wavbytes::monoConstant(30 * kBlock, kMusic));
    }
    void TearDown() override { std::filesystem::remove_all(copy_); }

    // The game frame's stone border around the view, not the intro's black.
    static bool showsTheFrame(const HeadlessGame& run) {
        const std::uint8_t* background = game().backgroundPicture->pixels;
        bool anyLit = false;
        for (int x = 0; x < kScreenWidth; ++x) {
            if (run.pixel(x, 0) != background[x]) return false;
            anyLit = anyLit || background[x] != 0;
        }
        return anyLit;
    }

    static constexpr int kBlock = HeadlessBackend::kAudioFramesPerIteration;
    static constexpr std::int16_t kMusic = 1234;
    static constexpr int kLayer = 100;
    static constexpr int kRed = 5;
    std::filesystem::path copy_;
};

TEST_F(IntroRun, GivesWayToTheMazeOnTime) {
    {
        // Frame 6's lap is 2 µs short of 200 ms, frame 7's 233 ms: frame 7
        // is the intro's last, drawn on black.
        HeadlessGame run(copy_.string());
        run.backend().keepAudio(true);
        run.run(8);
        // The music sounds from the first frame on and stops with the last.
        const std::vector<std::int16_t>& heard = run.backend().keptAudio();
        ASSERT_EQ(heard.size(), 8u * kBlock * 2);
        for (int iteration = 0; iteration < 8; ++iteration) {
            const int first = iteration * kBlock * 2;
            const int last = first + kBlock * 2 - 1;
            const int level = iteration < 7 ? kMusic : 0;
            EXPECT_EQ(heard[first], level) << iteration;
            EXPECT_EQ(heard[last], level) << iteration;
        }
        EXPECT_EQ(run.pixel(0, 0), 0);
        EXPECT_EQ(run.pixel(55, 55), kLayer);
        EXPECT_EQ(run.pixel(65, 65), kRed);
        EXPECT_EQ(game().state.introOver, 1);
        EXPECT_TRUE(game().intro.entries.empty());
    }
    HeadlessGame run(copy_.string());
    run.run(9);
    EXPECT_TRUE(showsTheFrame(run));
    EXPECT_EQ(run.backend().framesPresented(), 9);
}

TEST_F(IntroRun, EscInTheFirstFrameEndsItAfterThatFrame) {
    {
        HeadlessGame run(copy_.string());
        run.press(0, scan::kEscape);
        run.run(1);
        EXPECT_EQ(run.pixel(65, 65), kRed);
        EXPECT_EQ(game().state.introStarted, 1);
        EXPECT_EQ(game().state.introOver, 1);
        EXPECT_EQ(game().state.optionsShown, 0);
        EXPECT_TRUE(game().intro.entries.empty());
    }
    HeadlessGame run(copy_.string());
    run.press(0, scan::kEscape);
    run.run(2);
    EXPECT_TRUE(showsTheFrame(run));
}
