// krvtool map GAME_FOLDER -o MAP.png [--maze N]: the mazes seen from above
// (proof/maze_map.h).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command.h"
#include "framework/files.h"
#include "proof/maze_map.h"

namespace {

constexpr const char* kUsage = "map GAME_FOLDER -o MAP.png [--maze N]";

int usageError(const std::string& message) {
    std::fprintf(stderr, "krvtool map: %s\nusage: krvtool %s\n", message.c_str(), kUsage);
    return 2;
}

int runMap(std::span<char*> args) {
    std::string folder;
    std::string out;
    int maze = -1;
    bool haveFolder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "-o" || arg == "--maze") {
            if (i + 1 >= args.size()) return usageError(std::string(arg) + " needs a value");
            const std::string value = args[++i];
            if (arg == "-o") {
                out = value;
                continue;
            }
            if (value != "0" && value != "1" && value != "2")
                return usageError("--maze wants 0, 1 or 2 (krv1.krv, krv2.krv, krv3.krv)");
            maze = value[0] - '0';
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option '" + std::string(arg) + "'");
        } else if (haveFolder) {
            return usageError("one game folder only");
        } else {
            folder = std::string(arg);
            haveFolder = true;
        }
    }
    if (!haveFolder) return usageError("which game folder?");
    if (out.empty()) return usageError("-o MAP.png is needed");

    fw_set_data_root(folder);
    std::string error;
    const auto map = drawMazeMap(maze, error);
    if (!map) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto palette = map_palette();
    if (!map->canvas.writePng(out, palette.data())) {
        std::fprintf(stderr, "%s: cannot write the map\n", out.c_str());
        return 1;
    }
    std::printf("%s: %d by %d pixels, %zu maze%s\n", out.c_str(), map->canvas.width(),
                map->canvas.height(), map->panels.size(), map->panels.size() == 1 ? "" : "s");
    return 0;
}

const CommandRegistration command("map", kUsage, runMap);

}  // namespace
