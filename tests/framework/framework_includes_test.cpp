// The framework is the platform under any game: it includes nothing of this
// one. Whatever it needs of the game (the dialog's picture, font and
// colours) is handed in through its own calls.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

TEST(FrameworkFolder, IncludesNothingFromTheGame) {
    // The content sources sit beside src/ in the source tree.
    const auto folder = std::filesystem::path(KRV_CONTENT_SOURCE_DIR).parent_path() / "src" /
                        "framework";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (line.rfind("#include \"", 0) != 0) continue;
            EXPECT_EQ(line.rfind("#include \"framework/", 0), 0u)
                << entry.path().filename().string() << ":" << number << ": " << line;
        }
        ++files;
    }
    EXPECT_GT(files, 10);
}
