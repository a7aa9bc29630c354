// krvtool textures OUT, and the content step that writes them into GAME/Pics.
#include <cstdio>
#include <filesystem>
#include <string>

#include "command.h"
#include "textures/texture_gen.h"

namespace {

int runTextures(std::span<char*> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: krvtool textures OUT_FOLDER\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(args[0], ec);
    std::string error;
    if (!write_textures(args[0], error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%zu textures written to %s\n", texture_names().size(), args[0]);
    return 0;
}

bool writeDefaultTextures(const std::string&, const std::string& gameFolder) {
    std::string error;
    if (!write_textures((std::filesystem::path(gameFolder) / "Pics").string(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

const CommandRegistration texturesCommand("textures", "textures OUT_FOLDER", runTextures);
const ContentStepRegistration texturesStep(30, "textures", writeDefaultTextures);

}  // namespace
