// krvtool picture IN -o OUT.bmp [--texture]: a teacher's own picture made
// into one the game can show. Pictures larger than the screen are scaled
// down to fit it, keeping their shape, rather than refused: a photograph
// straight from a camera should just work.
#include <cstdio>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "pictures/picture_import.h"

namespace {

constexpr const char* kUsage = "picture IN.(png|jpg|bmp) -o OUT.bmp [--texture]";

int usageError(const std::string& message) { return usageFault(kUsage, message); }

constexpr CommandOption kOptions[] = {{"-o"}, {"--texture", false}};

int runPicture(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    if (!readArguments(args, {kOptions, "needs a file name", "more than one picture given", false}, arguments,
                       error))
        return usageError(error);
    const std::string in = arguments.input.value_or("");
    const std::string out = arguments.value("-o").value_or("");
    const bool texture = arguments.has("--texture");
    if (in.empty() || out.empty()) return usageError("give a picture and -o OUT.bmp");

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
