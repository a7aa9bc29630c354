// krvtool check [DIR]: the start-up load of the models and textures, with
// every problem reported instead of the first ending the program.

#include "check_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "check/content_texts.h"
#include "check/game_mazes.h"
#include "check/reach.h"
#include "check/text_coverage.h"
#include "check/text_room.h"
#include "command.h"
#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "shell/content_check.h"
#include "shell/question_file.h"
#include "sound/game_sounds.h"

namespace {

bool isMaze(const std::string& name) {
    return std::find(kMazeFiles.begin(), kMazeFiles.end(), name) != kMazeFiles.end();
}

// Object files in name order, so that reports compare between runs.
std::vector<std::string> objectFiles(std::vector<std::string>& problems) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    const fs::path folder = fw_native_path("Objects");
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        problems.push_back(folder.string() + ": no Objects folder");
        return names;
    }
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".krv" && !isMaze(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Object files the logic check loaded, with the first model of each.
using LoadedFiles = std::vector<std::pair<std::string, const Model*>>;

std::string logicLine(int line, const std::string& reason) {
    return std::string(kLogicFile) + ":" + std::to_string(line) + ": " + reason;
}

// The logic file as the game reads it, judged against the mazes that
// loaded, and every object model it names loaded with the objects' grid;
// each file so loaded goes to loadedFiles with its model, so that none is
// loaded (and its problems said) a second time.
void checkLogic(CheckReport& report, TextureList& textures, std::vector<std::unique_ptr<Model>>& models,
                LoadedFiles& loadedFiles, const ContentTexts& texts) {
    if (!texts.logic) {
        report.problems.push_back(std::string(kLogicFile) +
                                  ": missing: the game cannot start without its logic file");
        return;
    }
    const LogicFileContents& contents = *texts.logic;
    std::vector<MazeFacts> mazes;
    for (std::size_t i = 0; i < kMazeFiles.size(); ++i) mazes.push_back({models[i]->loaded});
    const std::vector<LogicProblem> judged =
        judgeLogicFile(contents, mazes, static_cast<int>(std::size(kSoundFiles)));
    for (const auto* list : {&contents.problems, &judged}) {
        for (const LogicProblem& problem : *list) {
            report.problems.push_back(
                logicLine(problem.line, (problem.fatalMessage ? "" : "warning: ") + problem.reason));
        }
    }
    std::vector<std::pair<std::string, const Model*>> byName;
    std::vector<const Model*> objectModels;
    for (const LogicRecord& record : contents.records) {
        const auto* object = std::get_if<LogicObject>(&record.value);
        if (!object) continue;
        ++report.objects;
        // Objects of equal name share the first one's model: the game
        // never reads a later file of the same name.
        const auto shared = std::find_if(byName.begin(), byName.end(),
                                         [&](const auto& entry) { return entry.first == object->name; });
        if (shared != byName.end()) {
            objectModels.push_back(shared->second);
            continue;
        }
        auto model = std::make_unique<Model>("Objects\\" + object->file, textures,
                                             kObjectCellSize, Vec3{}, ModelLoadMode::Check);
        if (!model->loaded) {
            report.problems.push_back(logicLine(record.line, "object '" + object->name + "': " +
                                                                 model->loadError.describe()));
        }
        loadedFiles.emplace_back(object->file, model.get());
        byName.emplace_back(object->name, model.get());
        objectModels.push_back(model.get());
        models.push_back(std::move(model));
    }

    // Where a player can walk, once the file itself is sound.
    const bool fatal = std::any_of(judged.begin(), judged.end(),
                                   [](const LogicProblem& p) { return p.fatalMessage; });
    if (fatal || contents.headerError) return;
    std::vector<Model*> mazeModels;
    for (std::size_t i = 0; i < kMazeFiles.size(); ++i) mazeModels.push_back(models[i].get());
    for (std::string& problem : checkReach(contents, mazeModels, objectModels, kMazeHome)) {
        report.problems.push_back(std::move(problem));
    }
    const QuestionFileContent& questions = texts.questions;
    if (questions.opened && questions.questions.size() != static_cast<std::size_t>(report.objects)) {
        report.problems.push_back(
            std::string(kLogicFile) + ": " + std::to_string(report.objects) + " objects but " +
            std::to_string(questions.questions.size()) +
            " questions in Data\\krv.qry: objects and questions are asked in turn, one each");
    }
}

int runCheck(std::span<char*> args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: krvtool check [GAME_FOLDER]\n");
        return 2;
    }
    const CheckReport report = checkGameData(args.empty() ? std::string() : std::string(args[0]));
    for (const std::string& problem : report.problems) std::printf("%s\n", problem.c_str());
    if (!report.problems.empty()) {
        std::printf("%zu problem%s\n", report.problems.size(),
                    report.problems.size() == 1 ? "" : "s");
        return 1;
    }
    std::printf("%d models, %d polygons, %d textures, %d objects: no problems\n", report.models,
                report.polygons, report.textures, report.objects);
    return 0;
}

const CommandRegistration checkCommand("check", "check [GAME_FOLDER]", runCheck);

}  // namespace

CheckReport checkGameData(const std::string& folder) {
    fw_set_data_root(folder);
    buildTrigTables();
    CheckReport report;
    TextureList textures;
    std::vector<std::unique_ptr<Model>> models;
    auto loadModel = [&](const std::string& name, std::int32_t cellSize, const Vec3& home) {
        auto model = std::make_unique<Model>("Objects\\" + name, textures, cellSize, home,
                                             ModelLoadMode::Check);
        if (model->loaded) {
            ++report.models;
            report.polygons += model->polygonCount;
        } else {
            report.problems.push_back(model->loadError.describe());
        }
        models.push_back(std::move(model));
    };
    for (const char* maze : kMazeFiles) loadModel(maze, kMazeCellSize, kMazeHome);
    const ContentTexts texts = readContentTexts();
    LoadedFiles loadedFiles;
    checkLogic(report, textures, models, loadedFiles, texts);
    // Every object file is counted once; one the logic check loaded is
    // counted from that load, its problems already said there.
    for (const std::string& name : objectFiles(report.problems)) {
        const auto loaded = std::find_if(loadedFiles.begin(), loadedFiles.end(),
                                         [&](const auto& entry) { return entry.first == name; });
        if (loaded == loadedFiles.end()) {
            loadModel(name, kObjectCellSize, Vec3{});
        } else if (loaded->second->loaded) {
            ++report.models;
            report.polygons += loaded->second->polygonCount;
        }
    }
    for (std::string& problem : checkQuizContent()) report.problems.push_back(std::move(problem));
    for (std::string& warning : checkTextCoverage(texts)) report.problems.push_back(std::move(warning));
    for (std::string& warning : checkTextRoom(texts)) report.problems.push_back(std::move(warning));

    std::vector<TextureProblem> problems;
    textures.loadBitmaps(problems);
    for (const TextureProblem& problem : problems) {
        report.problems.push_back(problem.file + ":" + std::to_string(problem.line) + ": " +
                                  problem.reason);
    }
    report.textures = textures.count;
    return report;
}
