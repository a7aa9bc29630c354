// krvtool playtest GAME_FOLDER -o DIR [--wrong N]: proves a quiz can be won
// by playing it in the headless game (proof/playtest.h).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "logic/world.h"
#include "proof/playtest.h"

namespace {

constexpr const char* kUsage = "playtest GAME_FOLDER -o DIR [--wrong N]";

int usageError(const std::string& message) { return usageFault(kUsage, message); }

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

// The object number of --wrong, or -1 when the value is none.
long wrongObject(const std::string& value) {
    char* end = nullptr;
    const long object = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || object < 0 || object >= World::kSlotCapacity) return -1;
    return object;
}

std::string checkWrong(const std::string& value) {
    return wrongObject(value) < 0 ? "--wrong wants an object number from 0 to 19" : "";
}

constexpr CommandOption kOptions[] = {{"-o"}, {"--wrong", true, checkWrong}};

int runPlaytestCommand(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    if (!readArguments(args, {kOptions, "needs a value", "one game folder only"}, arguments, error))
        return usageError(error);
    if (!arguments.input) return usageError("which game folder?");
    PlaytestOptions options;
    options.gameFolder = *arguments.input;
    options.outFolder = arguments.value("-o").value_or("");
    if (const auto wrong = arguments.value("--wrong")) options.wrongObject = static_cast<int>(wrongObject(*wrong));
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
