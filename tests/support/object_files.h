#pragma once
// Object files for the model tests, written into a fresh temporary data
// folder (Objects/ and Pics/) that is the data root while a test runs.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "framework/files.h"
#include "support/scratch_folders.h"

// One textured square floor 100 units wide, the format's reference example.
inline constexpr std::string_view kSquareFloor =
    "#numberOfPoints\n4\n#numberOfPolygons\n1\n#numberOfFaces\n1\n#numberOfBspNodes\n1\n"
    "#vertices\n0, 0, 0\n100, 0, 0\n100, 0, 100\n0, 0, 100\n\n"
    "#polygons\n1, 2, 3, 4\n\n"
    "#faces\n1\n\n"
    "#facenormals\n0, 1, 0\n\n"
    "#textures\n256, 256, brick, brick.bmp\n\n"
    "#faceproperties\n3, brick\n\n"
    "#correspondences\n\n0, 0, 0\n100, 0, 0\n0, 0, 100\n0, 0, 0\n1, 0, 0\n0, 1, 0\n\n"
    "#bsptree\n1: polygon 1 frontlist -1 backlist -1 fronttree -1 backtree -1\n\n"
    "#pointnormals\n0, 1, 0\n!!\n0, 1, 0\n0, 1, 0\n#eof\n";

class TempDataFolder {
public:
    TempDataFolder() {
        static int serial = 0;
        root_ = std::filesystem::temp_directory_path() /
                ("krv_model_test_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
        std::filesystem::create_directories(root_ / "Objects");
        std::filesystem::create_directories(root_ / "Pics");
        ScratchFolders::removeWhenProcessEnds(root_);
        previousRoot_ = fw_data_root();
        fw_set_data_root(root_.string());
    }
    ~TempDataFolder() {
        fw_set_data_root(previousRoot_);
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    // Writes Objects/<name> and returns its game path.
    std::string writeObject(const std::string& name, std::string_view text) const {
        writeFile(root_ / "Objects" / name, text);
        return "Objects\\" + name;
    }
    // Writes Data/<name>, the quiz's text files.
    void writeData(const std::string& name, std::string_view text) const {
        writeFile(root_ / "Data" / name, text);
    }
    // Writes a file anywhere, making the folders above it.
    void writeFile(const std::filesystem::path& path, std::string_view text) const;
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
    std::string previousRoot_;
};

// Replaces the first occurrence of `from` in `text`.
std::string replaced(std::string_view text, std::string_view from, std::string_view to);
// Writes a w x h bitmap at bits per pixel (8 only from the writer) filled
// with one palette index.
bool writeTestBitmap(const std::filesystem::path& path, int width, int height, int fill);
