// The page's words from Data/page.txt: what a teacher writes replaces the
// English defaults word by word, and what cannot be used is named by line.

#include "framework/page_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

PageTextContents parseText(const std::string& text) {
    const fs::path path =
        fs::temp_directory_path() / ("krv_page_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    TextFile file;
    EXPECT_TRUE(file.openNative(path.string()));
    PageTextContents contents = parsePageText(file);
    fs::remove(path);
    return contents;
}

TEST(PageText, TheTeachersWordsReplaceTheDefaultsOneByOne) {
    const PageTextContents contents = parseText(
        "\xEF\xBB\xBF; Seite eines deutschen Quiz\r\n"
        "Title:  Hauptst\xC3\xA4"
        "dte Europas \r\n"
        "start: Dr\xC3\xBC"
        "cke RETURN\r\n"
        "result: {right} von {total} richtig. Zeit: {time}\r\n"
        "\r\n"
        "forward:\r\n"                 // empty: the default stays
        "shake: Sch\xC3\xBCtteln\r\n"  // a word this page does not know
        "picture: Titel Bild.bmp\r\n");
    const PageText& words = contents.text;
    EXPECT_TRUE(contents.problems.empty());
    EXPECT_EQ(words.word(PageWord::Title),
              "Hauptst\xC3\xA4"
              "dte Europas");
    EXPECT_EQ(words.word(PageWord::Start),
              "Dr\xC3\xBC"
              "cke RETURN");
    EXPECT_EQ(words.word(PageWord::Result), "{right} von {total} richtig. Zeit: {time}");
    EXPECT_EQ(words.word(PageWord::Forward), "Forward");
    EXPECT_EQ(words.word(PageWord::TurnLeft), "Turn left");
    EXPECT_EQ(words.word(PageWord::Ended), "The game has ended.");
    EXPECT_EQ(words.picture, "Titel Bild.bmp");
}

TEST(PageText, LinesItCannotUseAreNamedAndSkipped) {
    const PageTextContents contents = parseText(
        "ended Das Spiel ist aus\n"
        "picture: ../../secret.bmp\n"
        "picture: Pics\\title.bmp\n"
        "restart: Nochmal\n");
    ASSERT_EQ(contents.problems.size(), 3u);
    EXPECT_EQ(contents.problems[0].line, 1);
    EXPECT_NE(contents.problems[0].reason.find("key: text"), std::string::npos);
    EXPECT_EQ(contents.problems[1].line, 2);
    EXPECT_NE(contents.problems[1].reason.find("Pics/"), std::string::npos);
    EXPECT_EQ(contents.problems[2].line, 3);
    EXPECT_EQ(contents.text.picture, "");
    EXPECT_EQ(contents.text.word(PageWord::Ended), "The game has ended.");
    EXPECT_EQ(contents.text.word(PageWord::Restart), "Nochmal");
}

TEST(PageText, AQuizWithoutTheFileGetsTheDefaults) {
    fw_set_data_root("/nonexistent-krv-folder");
    const PageText words = loadPageText();
    fw_set_data_root("");
    for (std::size_t i = 0; i < kPageWordCount; ++i)
        EXPECT_EQ(words.words[i], kPageWords[i].defaultText);
    EXPECT_EQ(words.word(PageWord::Title), "");
    EXPECT_EQ(words.word(PageWord::Skip), "Skip intro");
}

}  // namespace
