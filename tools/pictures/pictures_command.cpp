// `krvtool pictures OUT_FOLDER` and the content step that writes the default
// pictures into the game's Pics/ folder.
#include <cstdio>
#include <filesystem>
#include <string>

#include "command.h"
#include "framework/framework.h"
#include "pictures/pictures.h"
#include "shell/game_palette.h"

namespace {

bool savePicture(const std::string& folder, const char* name, const IndexedPicture& picture) {
    static const auto palette = game_palette();
    GfxBitmap bitmap;
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = picture.width;
    // The saver only reads the pixels; the bitmap record has no const view.
    bitmap.pixels = const_cast<std::uint8_t*>(picture.pixels.data());
    const std::string path = (std::filesystem::path(folder) / name).string();
    if (!gfx_save_bitmap(path, bitmap, palette.data())) {
        std::fprintf(stderr, "cannot write picture %s\n", path.c_str());
        return false;
    }
    return true;
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
