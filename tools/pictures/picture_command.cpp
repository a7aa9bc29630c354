// krvtool picture IN -o OUT.bmp [--texture]: a teacher's own picture made
// into one the game can show. Pictures larger than the screen are scaled
// down to fit it, keeping their shape, rather than refused: a photograph
// straight from a camera should just work.
#include <cstdio>
#include <string>
#include <string_view>

#include "command.h"
#include "pictures/picture_import.h"

namespace {

constexpr const char* kUsage = "picture IN.(png|jpg|bmp) -o OUT.bmp [--texture]";

int usageError(const std::string& message) {
    std::fprintf(stderr, "krvtool picture: %s\nusage: krvtool %s\n", message.c_str(), kUsage);
    return 2;
}

int runPicture(std::span<char*> args) {
    std::string in;
    std::string out;
    bool texture = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view word = args[i];
        if (word == "--texture") {
            texture = true;
        } else if (word == "-o") {
            if (i + 1 >= args.size()) return usageError("-o needs a file name");
            out = args[++i];
        } else if (word.starts_with("-")) {
            return usageError("unknown option '" + std::string(word) + "'");
        } else if (in.empty()) {
            in = word;
        } else {
            return usageError("more than one picture given");
        }
    }
    if (in.empty() || out.empty()) return usageError("give a picture and -o OUT.bmp");

    std::string error;
    const auto source = load_picture_file(in, error);
    if (!source) {
        std::fprintf(stderr, "krvtool picture: %s\n", error.c_str());
        return 1;
    }
    const RgbCanvas fitted = texture ? texture_from_canvas(*source) : fit_to_screen(*source);
    if (fitted.width() != source->width() || fitted.height() != source->height()) {
        std::printf("%s: %d by %d made %d by %d\n", in.c_str(), source->width(), source->height(),
                    fitted.width(), fitted.height());
    }
    return save_indexed_picture(out, dither_to_palette(fitted)) ? 0 : 1;
}

const CommandRegistration command("picture", kUsage, runPicture);

}  // namespace
