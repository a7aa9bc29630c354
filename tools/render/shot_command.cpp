// krvtool shot: one frame of the real game frame, written as a PNG.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "framework/headless/headless.h"
#include "render/render_session.h"

namespace {

constexpr const char* kUsage =
    "shot [DIR] --maze N --eye X,Y,Z --turn DEG --look DEG --out FILE.png";

int usageError(const std::string& message) { return usageFault(kUsage, message); }

bool parseInt(const std::string& text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < -100000 || parsed > 100000) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseEye(const std::string& text, Vec3& eye) {
    float v[3];
    const char* at = text.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        v[i] = std::strtof(at, &end);
        if (end == at) return false;
        if (i < 2 && *end != ',') return false;
        if (i == 2 && *end != '\0') return false;
        at = end + 1;
    }
    eye.set(v[0], v[1], v[2]);
    return true;
}

int shot(std::span<char*> args) {
    std::string dir;
    std::string out;
    int maze = 0;
    int turn = 0;
    int look = 0;
    Vec3 eye;
    bool eyeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        if (!option.starts_with("--")) {
            if (!dir.empty()) return usageError("more than one folder given");
            dir = option;
            continue;
        }
        if (i + 1 >= args.size()) return usageError(std::string(option) + " needs a value");
        const std::string value = args[++i];
        if (option == "--maze") {
            if (!parseInt(value, maze)) return usageError("--maze wants a whole number");
        } else if (option == "--turn") {
            if (!parseInt(value, turn)) return usageError("--turn wants whole degrees");
        } else if (option == "--look") {
            if (!parseInt(value, look)) return usageError("--look wants whole degrees");
        } else if (option == "--eye") {
            if (!parseEye(value, eye)) return usageError("--eye wants X,Y,Z");
            eyeGiven = true;
        } else if (option == "--out") {
            out = value;
        } else {
            return usageError("unknown option '" + std::string(option) + "'");
        }
    }
    if (out.empty()) return usageError("--out is required");

    RenderSession session(dir);
    if (!session.hasMaze(maze)) {
        std::fprintf(stderr, "krvtool shot: no maze %d (the game has %d)\n", maze,
                     session.mazeCount());
        return 1;
    }
    session.placeView(maze, eyeGiven ? eye : session.mazeHome(maze), turn, look);
    session.drawFrame();
    if (!write_page_png(out, session.page(), session.palette())) {
        std::fprintf(stderr, "krvtool shot: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration registration("shot", kUsage, shot);

}  // namespace
