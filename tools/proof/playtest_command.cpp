// krvtool playtest GAME_FOLDER -o DIR [--wrong N]: proves a quiz can be won
// by playing it in the headless game (proof/playtest.h).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command.h"
#include "logic/world.h"
#include "proof/playtest.h"

namespace {

constexpr const char* kUsage = "playtest GAME_FOLDER -o DIR [--wrong N]";

int usageError(const std::string& message) {
    std::fprintf(stderr, "krvtool playtest: %s\nusage: krvtool %s\n", message.c_str(), kUsage);
    return 2;
}

// "1 min 53.7 s" for iterations at the game's pace.
std::string gameTime(int iterations) {
    const double seconds = static_cast<double>(iterations) / kGamePace;
    const int minutes = static_cast<int>(seconds / 60.0);
    char text[48];
    if (minutes > 0) {
        std::snprintf(text, sizeof text, "%d min %.1f s", minutes, seconds - 60.0 * minutes);
    } else {
        std::snprintf(text, sizeof text, "%.1f s", seconds);
    }
    return text;
}

int runPlaytestCommand(std::span<char*> args) {
    PlaytestOptions options;
    bool haveFolder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "-o" || arg == "--wrong") {
            if (i + 1 >= args.size()) return usageError(std::string(arg) + " needs a value");
            const std::string value = args[++i];
            if (arg == "-o") {
                options.outFolder = value;
                continue;
            }
            char* end = nullptr;
            const long object = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || object < 0 || object >= World::kSlotCapacity)
                return usageError("--wrong wants an object number from 0 to 19");
            options.wrongObject = static_cast<int>(object);
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option '" + std::string(arg) + "'");
        } else if (haveFolder) {
            return usageError("one game folder only");
        } else {
            options.gameFolder = std::string(arg);
            haveFolder = true;
        }
    }
    if (!haveFolder) return usageError("which game folder?");
    if (options.outFolder.empty())
        return usageError("-o DIR is needed: the key script and the proof sheet go there");

    const PlaytestResult result = runPlaytest(options);
    if (!result.won) {
        std::fprintf(stderr, "%s\n", result.failure.c_str());
        if (!result.keyScriptPath.empty()) {
            std::fprintf(stderr, "krvtool playtest: not won; the keys up to there are in %s\n",
                         result.keyScriptPath.c_str());
        }
        return 1;
    }
    std::printf("won: %d questions answered, %d steps walked\n", result.questionScreens,
                result.steps);
    std::printf(
        "the quiz takes %d iterations to win, %s at %d iterations per second "
        "(from the end of the intro to the last answer)\n",
        result.iterationsToWin(), gameTime(result.iterationsToWin()).c_str(), kGamePace);
    std::printf("wrote %s and %s\n", result.keyScriptPath.c_str(), result.proofSheetPath.c_str());
    return 0;
}

const CommandRegistration command("playtest", kUsage, runPlaytestCommand);

}  // namespace
