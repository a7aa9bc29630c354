// `krvtool pictures OUT_FOLDER` and the content step that writes the default
// pictures into the game's Pics/ folder.
#include <cstdio>
#include <filesystem>
#include <string>

#include "command.h"
#include "pictures/picture_import.h"
#include "pictures/pictures.h"

namespace {

bool savePicture(const std::string& folder, const char* name, const IndexedPicture& picture) {
    return save_indexed_picture((std::filesystem::path(folder) / name).string(), picture);
}

int runPictures(std::span<char*> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: krvtool pictures OUT_FOLDER\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(args[0], error);
    if (error) {
        std::fprintf(stderr, "krvtool pictures: cannot create %s: %s\n", args[0],
                     error.message().c_str());
        return 1;
    }
    return write_pictures(args[0]) ? 0 : 1;
}

bool writeGamePictures(const std::string& /*source*/, const std::string& game) {
    return write_pictures((std::filesystem::path(game) / "Pics").string());
}

const CommandRegistration command("pictures", "pictures OUT_FOLDER", runPictures);
const ContentStepRegistration step(20, "pictures", writeGamePictures);

}  // namespace

bool write_pictures(const std::string& folder) {
    return savePicture(folder, "border1.bmp", make_frame_picture()) &&
           savePicture(folder, "ext_sel.bmp", make_exit_item_picture(true)) &&
           savePicture(folder, "ext_not.bmp", make_exit_item_picture(false)) &&
           savePicture(folder, "title.bmp", make_title_picture());
}
