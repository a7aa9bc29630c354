// krvtool check on the texts the game draws from content: characters the
// game's font has no glyph for, said where they are.

#include "check/text_coverage.h"

#include "check/content_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/object_files.h"
#include "framework/framework.h"

namespace {

namespace fs = std::filesystem;

TEST(TextCoverage, WarnsOnceALineAtTheFirstCharacterTheFontLacks) {
    TempDataFolder folder;
    fs::create_directories(folder.root() / "Data");
    fs::create_directories(folder.root() / "Fonts");
    fs::copy_file(fs::path(KRV_GAME_DIR) / "Fonts" / "Cour20b.fnt",
                  folder.root() / "Fonts" / "Cour20b.fnt");
    // Greek, Russian, Polish and Latin-1 German are in the font; Hebrew is
    // not. Columns count characters: "Шалом, " is 7 of them in 13 bytes.
    folder.writeFile(folder.root() / "Data" / "krv.lgk",
                     "\xEF\xBB\xBFO 0\nthing\nthing.krv\n1\n0\n0\n0\n0\n0\n0\n"
                     "Ελλάδα\nШалом, שלום\n#\n");
    folder.writeFile(folder.root() / "Data" / "krv.qry",
                     "Q\nTEXT\n50\n50\nŁódź?\nGr\xFC\xDF" "e \xE9t\xE9\n1) א\n#\n1\n");
    folder.writeFile(folder.root() / "Data" / "krv.end", "\nThe end \xF0\x9F\x99\x82\n");

    EXPECT_EQ(checkTextCoverage(readContentTexts()),
              (std::vector<std::string>{
                  "Data\\krv.lgk:12:8: warning: character U+05E9 and 3 more on this line are not "
                  "in the game's font: each is drawn as a replacement mark",
                  "Data\\krv.qry:7:4: warning: character U+05D0 is not in the game's font: each "
                  "is drawn as a replacement mark",
                  "Data\\krv.end:2:9: warning: character U+1F642 is not in the game's font: each "
                  "is drawn as a replacement mark"}));

    // Without the font there is nothing to hold the text to.
    fs::remove(folder.root() / "Fonts" / "Cour20b.fnt");
    EXPECT_TRUE(checkTextCoverage(readContentTexts()).empty());
}

}  // namespace
