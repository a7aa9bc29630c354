#include "proof/playtest.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/files.h"
#include "framework/headless/headless.h"
#include "proof/key_script.h"
#include "proof/pilot.h"
#include "proof/proof_sheet.h"
#include "proof/quiz_facts.h"
#include "shell/shell.h"

namespace {

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return file.good();
}

std::string scriptHeader(const PlaytestOptions& options, const std::string& scriptPath) {
    return "# Written by krvtool playtest: the keys it pressed playing the quiz in\n"
           "# " +
           options.gameFolder +
           ". Replay them with\n"
           "#   krvtool run --data " +
           options.gameFolder + " --script " + scriptPath + "\n";
}

}  // namespace

PlaytestResult runPlaytest(const PlaytestOptions& options) {
    PlaytestResult result;
    fw_reset();
    fw_set_data_root(options.gameFolder);
    std::string failure;
    const std::unique_ptr<QuizFacts> quiz = readQuizFacts(options.wrongObject, failure);
    if (!quiz) {
        result.failure = failure;
        return result;
    }
    if (options.wrongObject >= static_cast<int>(quiz->objects.size())) {
        result.failure = "there is no object " + std::to_string(options.wrongObject) +
                         " to answer wrongly: the quiz has objects 0 to " +
                         std::to_string(quiz->objects.size() - 1);
        return result;
    }
    std::error_code made;
    std::filesystem::create_directories(options.outFolder, made);
    if (made) {
        result.failure = options.outFolder + ": cannot make the folder: " + made.message();
        return result;
    }

    const Router router(quiz->mazeModels, quiz->walk);
    auto pilot = std::make_unique<PilotBackend>(*quiz, router, options.wrongObject);
    pilot->setIterationLimit(options.iterationLimit);
    fw_reset();
    fw_set_data_root(options.gameFolder);
    fw_use_backend(pilot.get());
    const int exitCode = run_game();
    fw_use_headless_backend();

    result.firstPlayIteration = pilot->firstPlayIteration();
    result.winningIteration = pilot->winningIteration();
    result.lastIteration = pilot->iteration() - 1;
    result.steps = pilot->stepsWalked();
    result.replans = pilot->replans();
    result.questionScreens = static_cast<int>(pilot->questionScreens().size());
    result.frameHashes = pilot->frameHashes();
    result.failure = pilot->failure();
    if (result.failure.empty() && pilot->stoppedByLimit()) {
        result.failure =
            "the quiz was not won within " + std::to_string(options.iterationLimit) + " iterations";
    } else if (result.failure.empty() && exitCode != 0) {
        result.failure = "the game ended with status " + std::to_string(exitCode);
    } else if (result.failure.empty() && result.winningIteration < 0) {
        result.failure = "the game ended before the quiz was won";
    }

    // Written whether won or not: a failed run's keys replay to where it stopped.
    const std::filesystem::path out(options.outFolder);
    result.keyScriptPath = (out / "play.keys").string();
    result.proofSheetPath = (out / "proof.png").string();
    const std::string script = keyScriptText(pilot->played(), pilot->notes(), result.lastIteration,
                                             scriptHeader(options, result.keyScriptPath));
    if (!writeText(result.keyScriptPath, script) && result.failure.empty()) {
        result.failure = result.keyScriptPath + ": cannot write the key script";
    }
    std::string error;
    if (!writeProofSheet(result.proofSheetPath, *quiz, pilot->questionScreens(), error) &&
        result.failure.empty()) {
        result.failure = error;
    }
    result.won = result.failure.empty();
    return result;
}
