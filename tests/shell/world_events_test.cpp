// What the world does after movement and on the answer keys, carried out by
// the shell on the view, the question store and the flags, and the message
// band it scrolls once per frame.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <iterator>

#include "framework/files.h"
#include "framework/headless/headless.h"
#include "geometry/model.h"
#include "support/logic_test_world.h"
#include "shell/message_band.h"
#include "shell/world_events.h"
#include "sound/game_sounds.h"
#include "support/wav_bytes.h"

namespace {

constexpr int kBlock = HeadlessBackend::kAudioFramesPerIteration;
constexpr int kToneUnit = 100;

// A set of sound numbers as the tones of WorldRun sound them together.
int sounds(std::initializer_list<int> numbers) {
    int level = 0;
    for (int n : numbers) level += kToneUnit << n;
    return level;
}

// Three objects in maze 0 along x, one in maze 1; the first active.
const char* const kLogic =
    "B 1\n1100\n40\n1100\n"
    "E 0\n1\n0\n100\n0\n100\n150\n100\n150\n"
    "S 1\n3\n1050\n0\n1050\n1150\n100\n1150\n"
    "O 0\na\ncube.krv\n1\n0\n40\n-100\n0\n40\n-50\none\ntwo\nthree\n#\n"
    "O 0\nb\ncube.krv\n0\n-100\n40\n0\n-100\n40\n-50\nfour\n#\n"
    "O 1\nc\ncube.krv\n0\n0\n40\n-100\n0\n40\n-100\nfive\n#\n";

// The world with the game's six sounds heard through the headless sink:
// sound k is a tone of level 100·2^k lasting exactly one loop iteration, so
// the level of an iteration's mix names the sounds started in it.
class WorldRun : public ::testing::Test {
protected:
    void SetUp() override {
        fw_use_backend(&backend);
        backend.keepAudio(true);
        setSoundWindow(fw_init("world"));
        std::filesystem::create_directories(std::filesystem::path(fw_data_root()) / "Wavs");
        for (int k = 0; k < static_cast<int>(std::size(kSoundFiles)); ++k) {
            wavbytes::writeFile(std::filesystem::path(fw_data_root()) / "Wavs" / kSoundFiles[k],
                                wavbytes::monoConstant(kBlock, kToneUnit << k));
            t.sounds.addSound(kSoundFiles[k], 0);
        }
        t.load(kLogic);
        t.questions.questionCount = 3;
        t.questions.questions[0].setCorrectAnswer(2);
        t.questions.questions[1].setCorrectAnswer(1);
        t.questions.questions[2].setCorrectAnswer(3);
    }
    void TearDown() override {
        setSoundWindow(nullptr);
        fw_use_headless_backend();
    }
    void eyeAt(float x, float y, float z) {
        t.view.setPosition({x, y, z});
        check_player_position(t.world, t.view, t.state);
    }
    // A digit key while the question is shown.
    void answer(int digit) { answer_question(t.world, t.questions, t.state, digit); }
    // Ends a loop iteration: the level of what it mixed.
    int heard() {
        const std::size_t from = backend.keptAudio().size();
        backend.endIteration();
        return backend.keptAudio()[from];
    }
    HeadlessBackend backend;
    LogicTestWorld t;
};

}  // namespace

TEST_F(WorldRun, TheSoughtObjectIsFoundWithinFiftyUnitsOfItsOwnMaze) {
    eyeAt(50.5f, 40, -100);
    EXPECT_EQ(t.state.questionShown, 0);
    eyeAt(50, 90, -50);
    EXPECT_EQ(t.state.questionShown, 1);
    EXPECT_EQ(t.world.currentObject, 0);

    // Inactive, or active in another maze at the same place: no question.
    t.state.questionShown = 0;
    t.world.objectSlots[0].active = 0;
    t.world.objectSlots[2].active = 1;
    eyeAt(0, 40, -100);
    EXPECT_EQ(t.state.questionShown, 0);
}

TEST_F(WorldRun, APassageChangesMazeAndTheZonesOfTheNewMazeAreTested) {
    eyeAt(100, 40, 150);
    EXPECT_EQ(heard(), sounds({kPassageSound, 3}));
    EXPECT_EQ(t.world.currentMaze, 1);
    EXPECT_EQ(t.view.collider, t.world.mazeModel(1));
    EXPECT_EQ(t.view.position, (Vec3{1100, 40, 1100}));
    // The start point lies in maze 1's sound zone, entered in the same call.
    EXPECT_EQ(t.world.mazeSlots[1].soundZones.items[0].inside, 1);
    // The zone sounds once per entry: its flag clears only outside.
    eyeAt(1100, 40, 1140);
    EXPECT_EQ(t.world.mazeSlots[1].soundZones.items[0].inside, 1);
    eyeAt(1100, 40, 1200);
    EXPECT_EQ(t.world.mazeSlots[1].soundZones.items[0].inside, 0);
    EXPECT_EQ(heard(), 0);
    eyeAt(1100, 40, 1100);
    EXPECT_EQ(heard(), sounds({3}));
}

TEST_F(WorldRun, AnswersRetireMoveAndFinallyWin) {
    eyeAt(0, 40, -100);
    answer(1);  // wrong: the object jumps, the question waits
    EXPECT_EQ(heard(), sounds({kWrongSound}));
    EXPECT_EQ(t.state.questionShown, 0);
    EXPECT_EQ(t.world.objectSlots[0].position.z, -50.0f);
    eyeAt(0, 40, -50);
    answer(3);  // wrong again: back where it was
    EXPECT_EQ(heard(), sounds({kWrongSound}));
    EXPECT_EQ(t.world.objectSlots[0].position.z, -100.0f);
    EXPECT_EQ(t.questions.current, 0);

    eyeAt(0, 40, -100);
    t.world.messageY = 400;
    answer(2);
    EXPECT_EQ(heard(), sounds({kRightSound}));
    EXPECT_EQ(t.world.objectSlots[0].active, 0);
    EXPECT_EQ(t.world.objectSlots[1].active, 1);
    EXPECT_EQ(t.messages.currentMessage, 1);
    EXPECT_EQ(t.world.messageY, World::kMessageStartY);
    EXPECT_EQ(t.questions.current, 1);
    EXPECT_EQ(t.state.questionShown, 0);

    eyeAt(-100, 40, 0);
    answer(1);
    EXPECT_EQ(heard(), sounds({kRightSound}));
    // The last object is in maze 1: its right answer wins and leaves the
    // question up for the key handler to replace with the ending.
    t.world.currentMaze = 1;
    eyeAt(0, 40, -100);
    EXPECT_EQ(t.world.currentObject, 2);
    answer(3);
    EXPECT_EQ(heard(), sounds({kLastRightSound}));
    EXPECT_EQ(t.state.gameWon, 1);
    EXPECT_EQ(t.state.questionShown, 1);
    EXPECT_EQ(t.world.objectSlots[2].active, 0);
}

TEST_F(WorldRun, AThreeLineMessageStopsAtThreeFortyEightAfterSixtySixSteps) {
    timer_start();
    int steps = 0;
    for (int frame = 0; frame < 200 && t.world.messageScrolling; ++frame) {
        const std::int32_t before = t.world.messageY;
        backend.advanceClock(frame % 2 == 0 ? 50000 : 10000);  // some frames too soon
        draw_message_band(t.world, t.messages);
        if (t.world.messageY != before) ++steps;
        // Every frame draws the message from its first line.
        EXPECT_EQ(t.messages.messages[0].currentLine, 0);
    }
    EXPECT_EQ(steps, 66);
    EXPECT_EQ(t.world.messageY, 348);
    EXPECT_EQ(t.world.messageScrolling, 0);
}
