// krvtool quiz QUIZ_FILE -o GAME_FOLDER [--game DIR]: a whole quiz from one
// list of questions.

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "quiz/quiz_build.h"

namespace {

constexpr const char* kUsage = "quiz QUIZ_FILE -o GAME_FOLDER [--game DIR]";

int usageError(const std::string& message) { return usageFault(kUsage, message); }

constexpr CommandOption kOptions[] = {{"-o"}, {"--game"}};

int runQuiz(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    if (!readArguments(args, {kOptions, "needs a folder", "more than one quiz file given", false}, arguments,
                       error))
        return usageError(error);
    const std::string quizFile = arguments.input.value_or("");
    QuizBuildOptions options;
    options.output = arguments.value("-o").value_or("");
    if (const auto game = arguments.value("--game")) options.game = *game;
    if (quizFile.empty() || options.output.empty()) return usageError("give a quiz file and -o GAME_FOLDER");

    const auto start = std::chrono::steady_clock::now();
    const QuizBuildResult result = buildQuiz(quizFile, options);
    for (const std::string& problem : result.problems) std::printf("%s\n", problem.c_str());
    if (!result.problems.empty()) {
        std::printf("%zu problem%s: nothing written\n", result.problems.size(),
                    result.problems.size() == 1 ? "" : "s");
        return 1;
    }
    for (const std::string& note : result.notes) std::printf("%s\n", note.c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("built in %.1f s\n", seconds);
    return 0;
}

const CommandRegistration command("quiz", kUsage, runQuiz);

}  // namespace
