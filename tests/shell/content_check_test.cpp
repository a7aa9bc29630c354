#include "shell/content_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/object_files.h"

TEST(QuizContentCheck, NamesEveryMissingOrOutsidePictureOnceWithItsLine) {
    TempDataFolder folder;
    ASSERT_TRUE(writeTestBitmap(folder.root() / "Pics" / "here.bmp", 4, 4, 1));
    folder.writeData("krv.qry", "Q\nTEXT\n0\n0\n#\n4\nBITMAP\nhere.bmp\n0\n0\nBITMAP\n/etc/passwd\n0\n0\n");
    // The second "gone.bmp" shares the first's picture: said once.
    folder.writeData("krv.int",
                     "here.bmp\n0\n0\n0\ngone.bmp\n0\n0\n0\n-\n0\n0\n0\ngone.bmp\n0\n0\n9\nhere.bmp\n0\n");
    const std::vector<std::string> problems = checkQuizContent();
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "Data\\krv.qry:6: the right answer must be 1, 2 or 3, is 4");
    EXPECT_EQ(problems[1].rfind("Data\\krv.qry:12: picture name \"/etc/passwd\" is absolute", 0), 0u)
        << problems[1];
    EXPECT_EQ(problems[2], "Data\\krv.int:17: the file ends inside this entry; it is left out");
    EXPECT_EQ(problems[3], "Data\\krv.int:5: Pics\\gone.bmp: missing");

    // Without the files: only the questions are missed; the game skips the
    // intro and the ending.
    std::filesystem::remove_all(folder.root() / "Data");
    const std::vector<std::string> bare = checkQuizContent();
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0], "Data\\krv.qry: cannot open the file: no questions");
}
