#include "shell/ending.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/object_files.h"
#include "shell/ending_file.h"

TEST(EndingFile, EveryNonEmptyLineCountsHoweverMany) {
    TempDataFolder folder;
    std::string text = "\n;not a comment\r\n\n\n";
    for (int i = 1; i <= 150; ++i) text += "line " + std::to_string(i) + "\n";
    folder.writeData("krv.end", text);
    const EndingFileContent content = readEndingFile();
    ASSERT_EQ(content.lines.size(), 151u);
    EXPECT_EQ(content.lines[0], ";not a comment");
    EXPECT_EQ(content.lines[150], "line 150");

    std::filesystem::remove(folder.root() / "Data" / "krv.end");
    const EndingFileContent missing = readEndingFile();
    EXPECT_FALSE(missing.opened);
    EXPECT_TRUE(missing.lines.empty());
}

TEST(EndingText, FiveLinesScrollOutInTheStepBelowMinus140) {
    EndingText ending;
    ending.lines.assign(5, "line");
    int steps = 0;
    while (!ending.scroll()) {
        ++steps;
        ASSERT_GE(ending.scrollY, -140) << "still on screen by the rule, yet not out";
        ASSERT_LT(steps, 1000);
    }
    EXPECT_EQ(ending.scrollY, -142);
    EXPECT_EQ(steps + 1, (480 + 142) / 2);
}
