// krvtool web: a quiz folder and the prebuilt engine become a site whose
// file list names exactly the quiz files the page must fetch.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command.h"
#include "web/site.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

class WebCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("krv_web_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        for (const char* name : site::kEngineFiles) writeFile(root_ / "engine" / name, name);
        writeFile(root_ / "quiz" / "Data" / "questions.txt", "Q1\n");
        writeFile(root_ / "quiz" / "Pics" / "big pictures" / "a\"b.bmp", "BM12");
        writeFile(root_ / "quiz" / "keravon", "the desktop program");
        writeFile(root_ / "outside.txt", "not the quiz's");
        fs::create_symlink(root_ / "outside.txt", root_ / "quiz" / "Data" / "link.txt");
    }
    void TearDown() override { fs::remove_all(root_); }

    int runTool(std::vector<std::string> words) {
        std::vector<std::string> all = {"krvtool", "web"};
        all.insert(all.end(), words.begin(), words.end());
        std::vector<char*> argv;
        for (std::string& word : all) argv.push_back(word.data());
        return run_krvtool(static_cast<int>(argv.size()), argv.data());
    }

    fs::path root_;
};

TEST_F(WebCommandTest, TheSiteHoldsTheEngineTheQuizFilesAndTheirList) {
    const fs::path site = root_ / "site";
    ASSERT_EQ(runTool({(root_ / "quiz").string(), "-o", site.string(), "--engine",
                       (root_ / "engine").string()}),
              0);
    EXPECT_EQ(readFile(site / "keravon.wasm"), "keravon.wasm");
    EXPECT_EQ(readFile(site / "Pics" / "big pictures" / "a\"b.bmp"), "BM12");
    // Neither the desktop program nor a link out of the quiz folder goes on the site.
    EXPECT_FALSE(fs::exists(site / "keravon"));
    EXPECT_FALSE(fs::exists(site / "Data" / "link.txt"));
    EXPECT_EQ(readFile(site / "files.json"),
              "{\"files\": [\n"
              "  {\"path\": \"Data/questions.txt\", \"size\": 3},\n"
              "  {\"path\": \"Pics/big pictures/a\\\"b.bmp\", \"size\": 4}\n"
              "]}\n");

    // The same site made again from another quiz keeps nothing of the first.
    fs::remove_all(root_ / "quiz" / "Pics");
    ASSERT_EQ(runTool({(root_ / "quiz").string(), "-o", site.string(), "--engine",
                       (root_ / "engine").string()}),
              0);
    EXPECT_FALSE(fs::exists(site / "Pics"));
    EXPECT_EQ(readFile(site / "files.json"),
              "{\"files\": [\n  {\"path\": \"Data/questions.txt\", \"size\": 3}\n]}\n");
}

TEST_F(WebCommandTest, RefusesWithoutEngineQuizOrSiteOfItsOwn) {
    const std::string quiz = (root_ / "quiz").string();
    const std::string engine = (root_ / "engine").string();
    EXPECT_EQ(runTool({quiz, "-o", (root_ / "a").string(), "--engine", (root_ / "none").string()}), 1);
    EXPECT_FALSE(fs::exists(root_ / "a"));
    EXPECT_EQ(runTool({(root_ / "engine").string(), "-o", (root_ / "b").string(), "--engine", engine}), 1);
    EXPECT_EQ(runTool({quiz, "-o", quiz, "--engine", engine}), 1);
    EXPECT_EQ(readFile(root_ / "quiz" / "Data" / "questions.txt"), "Q1\n");
    EXPECT_EQ(runTool({quiz}), 2);
    EXPECT_EQ(runTool({quiz, "-o"}), 2);
}

}  // namespace
