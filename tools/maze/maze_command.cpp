// krvtool maze SRC -o FILE.krv, and the content step that compiles the
// default mazes content/mazes/*.maze into GAME/Objects.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "maze/maze_builder.h"
#include "maze/maze_compile.h"
#include "maze/model_check.h"
#include "maze/model_compiler.h"
#include "maze/model_readback.h"
#include "source_folder.h"

bool compile_maze_file(const std::string& sourcePath, const std::string& modelPath, const std::string& marksPath,
                       bool verbose, std::string& error) {
    MazeSource source;
    if (!read_maze_source(sourcePath, source, error)) return false;
    MazeBuild build;
    if (!build_maze(source, build, error)) return false;
    return compile_built_maze(sourcePath, source, build, modelPath, marksPath, verbose, error);
}

bool compile_built_maze(const std::string& sourcePath, const MazeSource& source, MazeBuild& build,
                        const std::string& modelPath, const std::string& marksPath, bool verbose, std::string& error) {
    for (const std::string& warning : build.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    ModelData model;
    CompileReport report;
    if (!compile_model(std::move(build.mesh), model, report, error)) {
        error = sourcePath + ": " + error;
        return false;
    }
    const GridLoad load = collision_grid_load(model, kMazeGridCell);
    if (load.maxEntries > kGridCellCapacity) {
        error = sourcePath + ": " + std::to_string(load.maxEntries) +
                " floor and ceiling polygons reach the collision cell at x " + std::to_string(static_cast<int>(load.cellX)) +
                ", z " + std::to_string(static_cast<int>(load.cellZ)) + " (the game holds " +
                std::to_string(kGridCellCapacity) + "); merge or simplify the cells there";
        return false;
    }
    if (!write_checked_model_file(sourcePath, modelPath, model, kMazeGridCell, error)) return false;
    if (!marksPath.empty()) {
        std::ofstream marks(marksPath, std::ios::binary);
        marks << marks_text(source, build.marks);
        if (!marks) {
            error = marksPath + ": cannot write the marks";
            return false;
        }
    }
    if (verbose) {
        std::printf("%s: %d points, %d polygons (%d splits), %d faces, %d nodes, %d T-junctions closed, "
                    "at most %d vertices in a polygon, at most %d floors and ceilings in a grid cell\n",
                    modelPath.c_str(), report.points, report.polygons, report.splits, report.faces, report.nodes,
                    report.tJunctionsFixed, report.mostVertices, load.maxEntries);
        if (report.piecesCut > 0 || report.facesAdded > 0) {
            std::printf("%s: %d pieces cut off long polygons, %d faces added to keep lines short\n",
                        modelPath.c_str(), report.piecesCut, report.facesAdded);
        }
    }
    return true;
}

namespace {

constexpr CommandOption kMazeOptions[] = {{"-o"}, {"--marks"}, {"-q", false}};

int runMaze(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    // Any fault is answered with the usage line alone.
    const bool read = readArguments(args, {kMazeOptions, "", ""}, arguments, error);
    const std::string source = arguments.input.value_or("");
    const std::string output = arguments.value("-o").value_or("");
    std::string marks = arguments.value("--marks").value_or("");
    const bool quiet = arguments.has("-q");
    if (!read || source.empty() || output.empty()) {
        std::fprintf(stderr, "usage: krvtool maze SOURCE.maze -o FILE.krv [--marks FILE] [-q]\n");
        return 2;
    }
    if (marks.empty()) {
        const std::filesystem::path out(output);
        marks = (out.parent_path() / (out.stem().string() + ".marks.txt")).string();
    }
    if (!compile_maze_file(source, output, marks, !quiet, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

// The marks go beside the game folder, not into it: the game never reads
// them, the author of a logic file does.
bool compileDefaultMazes(const std::string& sourceFolder, const std::string& gameFolder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> sources;
    if (!listSources(fs::path(sourceFolder) / "mazes", ".maze", sources)) return true;
    const fs::path marksFolder = fs::path(gameFolder).parent_path() / "maze-marks";
    std::error_code ec;
    fs::create_directories(marksFolder, ec);
    return compileSources(sources, [&](const fs::path& source, std::string& error) {
        const std::string stem = source.stem().string();
        const fs::path model = fs::path(gameFolder) / "Objects" / (stem + ".krv");
        return compile_maze_file(source.string(), model.string(), (marksFolder / (stem + ".marks.txt")).string(),
                                 false, error);
    });
}

const CommandRegistration mazeCommand("maze", "maze SOURCE.maze -o FILE.krv [--marks FILE] [-q]", runMaze);
const ContentStepRegistration mazeStep(50, "mazes", compileDefaultMazes);

}  // namespace
