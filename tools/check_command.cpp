// krvtool check [DIR]: the start-up load of the models and textures, with
// every problem reported instead of the first ending the program.

#include "check_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "command.h"
#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"

namespace {

const char* const kMazes[] = {"krv1.krv", "krv2.krv", "krv3.krv"};
// Mazes and objects get the cell sizes the game gives them, so the check
// builds the same collision grids.
constexpr std::int32_t kMazeCellSize = 100;
constexpr std::int32_t kObjectCellSize = 50;
const Vec3 kMazeHome{790.0f, 40.0f, -105.0f};

bool isMaze(const std::string& name) {
    return std::find(std::begin(kMazes), std::end(kMazes), name) != std::end(kMazes);
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
    std::printf("%d models, %d polygons, %d textures: no problems\n", report.models,
                report.polygons, report.textures);
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
    for (const char* maze : kMazes) loadModel(maze, kMazeCellSize, kMazeHome);
    for (const std::string& name : objectFiles(report.problems)) {
        loadModel(name, kObjectCellSize, Vec3{});
    }

    std::vector<TextureProblem> problems;
    textures.loadBitmaps(problems);
    for (const TextureProblem& problem : problems) {
        report.problems.push_back(problem.file + ":" + std::to_string(problem.line) + ": " +
                                  problem.reason);
    }
    report.textures = textures.count;
    return report;
}
