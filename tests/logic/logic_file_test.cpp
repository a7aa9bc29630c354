// The logic file as authors write it, and the ways it goes wrong.

#include <gtest/gtest.h>

#include "geometry/model.h"
#include "support/logic_test_world.h"

namespace {

std::string lines(std::initializer_list<const char*> list) {
    std::string text;
    for (const char* line : list) text += std::string(line) + "\r\n";
    return text;
}

// An object record of maze 0 at (x, 40, 0), other position (x, 40, 100).
std::string object(const char* name, const char* file, int active, int x, const char* message) {
    const std::string at = std::to_string(x);
    return std::string("O\n") + name + "\n" + file + "\n" + std::to_string(active) + "\n" + at +
           "\n40\n0\n" + at + "\n40\n100\n" + message + "#\n";
}

}  // namespace

TEST(LogicFile, HeadersNumbersAndMessagesReadAsWritten) {
    LogicTestWorld t;
    // CR LF line ends; a header letter alone is maze 0 and text after the
    // number is ignored; a value line of 12abc is 12, of letters 0, and
    // empty or ";" lines inside a record are values.
    t.load(lines({"; a comment", "", "B", "100", "40", "-250.5", "B1 the far maze", " 12abc",
                  "fish", ";", "E1 back home", "0", "0", "1000", "", "1000", "1100", "100",
                  "1100", "S 0", "3", "-10", "0", "-10", "10", "100", "10"}) +
           object("box", "cube.krv", 1, 50, "Find the box.\n\n  indented\n") +
           object("box", "missing.krv", 0, 60, "") + object("other", "cube.krv", 0, 70,
           "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20\n21\n"));

    const Slot& maze0 = t.world.mazeSlots[0];
    const Slot& maze1 = t.world.mazeSlots[1];
    ASSERT_EQ(maze0.startPoints.count, 1);
    EXPECT_EQ(maze0.startPoints.items[0].z, -250.5f);
    ASSERT_EQ(maze1.startPoints.count, 1);
    EXPECT_EQ(maze1.startPoints.items[0].x, 12.0f);
    EXPECT_EQ(maze1.startPoints.items[0].y, 0.0f);
    EXPECT_EQ(maze1.startPoints.items[0].z, 0.0f);
    ASSERT_EQ(maze1.passages.count, 1);
    EXPECT_EQ(maze1.passages.items[0].box.min.y, 0.0f);
    ASSERT_EQ(maze0.soundZones.count, 1);
    EXPECT_EQ(maze0.soundZones.items[0].sound, 3);

    ASSERT_EQ(t.world.objectCount, 3);
    const Slot& first = t.world.objectSlots[0];
    const Slot& shared = t.world.objectSlots[1];
    EXPECT_EQ(first.ownsModel, 1);
    EXPECT_TRUE(first.model->loaded);
    // Equal names share the first model; the second file is never read.
    EXPECT_EQ(shared.model, first.model);
    EXPECT_EQ(shared.ownsModel, 0);
    EXPECT_FALSE(shared.ownedModel);
    EXPECT_EQ(t.world.objectSlots[2].ownsModel, 1);

    ASSERT_EQ(t.messages.messageCount, 3);
    const Message& m0 = t.messages.messages[0];
    ASSERT_EQ(m0.lineCount, 3);
    EXPECT_EQ(m0.lines[1], "");
    EXPECT_EQ(m0.lines[2], "  indented");
    EXPECT_EQ(t.messages.messages[1].lineCount, 0);
    EXPECT_EQ(t.messages.messages[2].lineCount, 19);
}

TEST(LogicFile, IncompleteRecordsAreLeftOut) {
    LogicTestWorld t;
    testing::internal::CaptureStderr();
    t.load(object("a", "cube.krv", 1, 0, "") + "O\nd\ncube.krv\n0\n1\n2\n3\n4\n5\n6\nno end");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.world.objectCount, 1);
    EXPECT_EQ(t.messages.messageCount, 1);
    EXPECT_NE(err.find("Data\\krv.lgk:12: the file ends inside this object (O) record"),
              std::string::npos)
        << err;

    LogicTestWorld cut;
    cut.load("B 1\n100\n40");
    EXPECT_EQ(cut.world.mazeSlots[1].startPoints.count, 0);
}

TEST(LogicFile, NumbersUpToTenMillionHoldAndTheTwentiethMessageIsNeverCounted) {
    LogicTestWorld t;
    std::string text = "B 0\n10000000\n-10000000\n-1e7\n";
    for (int i = 0; i < 20; ++i) {
        text += object("o", "cube.krv", 0, i, ("message " + std::to_string(i) + "\n").c_str());
    }
    t.load(text);
    EXPECT_EQ(t.world.mazeSlots[0].startPoints.items[0].x, 1.0e7f);
    EXPECT_EQ(t.world.mazeSlots[0].startPoints.items[0].z, -1.0e7f);
    // Twenty objects, but the board counts nineteen messages: the last is
    // kept and never shown, and the scroll returns from the nineteenth to
    // the first.
    EXPECT_EQ(t.world.objectCount, 20);
    EXPECT_EQ(t.messages.messageCount, 19);
    EXPECT_EQ(t.messages.messages[19].lines[0], "message 19");
    t.messages.currentMessage = 18;
    t.messages.nextMessage();
    EXPECT_EQ(t.messages.currentMessage, 0);
}

TEST(LogicFile, BrokenFilesEndTheGameWithTheirMessage) {
    const auto fatal = [](const std::string& text, const char* pattern) {
        EXPECT_EXIT(
            {
                LogicTestWorld t;
                t.load(text);
            },
            testing::ExitedWithCode(1), pattern)
            << text;
    };
    fatal("b 0\n", "krv.lgk:1: .*error in logik file");
    fatal("; fine\n B 0\n", "krv.lgk:2: .*error in logik file");
    fatal("B 2\n0\n0\n0\n", "krv.lgk:1: maze 2 does not exist.*error in logik file");
    fatal("E 0\n1\n1\n0\n0\n0\n1\n1\n1\nB 1\n0\n0\n0\n",
          "krv.lgk:1: passage to start point 1 of maze 1, which has 1.*error in logik file");
    fatal("E 0\n7\n0\n0\n0\n0\n1\n1\n1\n", "maze 7, which does not exist.*error in logik file");
    std::string starts;
    for (int i = 0; i < 21; ++i) starts += "B 0\n0\n0\n0\n";
    fatal(starts, "krv.lgk:81: maze 0 has more than 20 start points.*No new begin possible!");
    std::string passages;
    std::string zones;
    for (int i = 0; i < 21; ++i) {
        passages += "E 0\n0\n0\n0\n0\n0\n1\n1\n1\n";
        zones += "S 1\n3\n0\n0\n0\n1\n1\n1\n";
    }
    fatal("B 0\n0\n0\n0\n" + passages,
          "krv.lgk:185: maze 0 has more than 20 passages.*No new begin possible!");
    fatal(zones, "krv.lgk:161: maze 1 has more than 20 sound zones.*No new begin possible!");
    std::string objects;
    for (int i = 0; i < 21; ++i) objects += object("o", "cube.krv", 0, 0, "");
    fatal(objects, "a 21st object.*No object slots available!");
    // Beyond ten million a coordinate would break the later stages.
    fatal("B 0\n0\n10000001\n0\n", "krv.lgk:3: number '10000001' is out of range.*error in logik file");
    fatal("S 0\n3\n0\n0\n-1e8\n1\n1\n1\n", "krv.lgk:5: number '-1e8'.*error in logik file");
    // An object left out would pair every later object with the wrong
    // message and question: an unsafe file name is refused, not skipped.
    fatal(object("a", "cube.krv", 1, 0, "") + object("b", "../../etc/cube.krv", 0, 0, ""),
          "krv.lgk:12: object file '../../etc/cube.krv' must be a file name inside Objects.*\n"
          "error in logik file");
    fatal(object("a", "", 1, 0, ""), "krv.lgk:1: object file '' must be.*error in logik file");
    fatal(object("a", "C:\\cube.krv", 1, 0, ""), "krv.lgk:1: object file 'C:.*error in logik file");
    fatal(object("a", "/cube.krv", 1, 0, ""), "krv.lgk:1: object file '/cube.krv'.*error in logik file");
    EXPECT_EXIT(
        {
            LogicTestWorld t;
            loadLogicFile(t.world, t.messages);
        },
        testing::ExitedWithCode(1), "Data.krv.lgk");
}
