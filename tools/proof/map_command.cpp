// krvtool map GAME_FOLDER -o MAP.png [--maze N]: the mazes seen from above
// (proof/maze_map.h).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "framework/files.h"
#include "proof/maze_map.h"

namespace {

constexpr const char* kUsage = "map GAME_FOLDER -o MAP.png [--maze N]";

int usageError(const std::string& message) { return usageFault(kUsage, message); }

std::string checkMaze(const std::string& value) {
    if (value != "0" && value != "1" && value != "2")
        return "--maze wants 0, 1 or 2 (krv1.krv, krv2.krv, krv3.krv)";
    return {};
}

constexpr CommandOption kOptions[] = {{"-o"}, {"--maze", true, checkMaze}};

int runMap(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    if (!readArguments(args, {kOptions, "needs a value", "one game folder only"}, arguments, error))
        return usageError(error);
    if (!arguments.input) return usageError("which game folder?");
    const std::string folder = *arguments.input;
    const std::string out = arguments.value("-o").value_or("");
    if (out.empty()) return usageError("-o MAP.png is needed");
    const auto mazeWord = arguments.value("--maze");
    const int maze = mazeWord ? (*mazeWord)[0] - '0' : -1;

    fw_set_data_root(folder);
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
