#pragma once
// A copy of the built game for a test that writes its own quiz into it: the
// logic, question, intro and ending files it needs. Removed when it goes.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/scratch_folders.h"

class QuizFolder {
public:
    explicit QuizFolder(std::string_view name)
        : path(std::filesystem::temp_directory_path() /
               (std::string(name) + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::copy(KRV_GAME_DIR, path, std::filesystem::copy_options::recursive);
        ScratchFolders::removeWhenProcessEnds(path);
    }
    ~QuizFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    QuizFolder(const QuizFolder&) = delete;
    QuizFolder& operator=(const QuizFolder&) = delete;

    // Data/<name>, as the game reads it.
    void write(std::string_view name, std::string_view text) const {
        std::ofstream(path / "Data" / name, std::ios::binary | std::ios::trunc) << text;
    }
    void remove(std::string_view name) const { std::filesystem::remove(path / "Data" / name); }
    std::string root() const { return path.string(); }

    const std::filesystem::path path;
};
