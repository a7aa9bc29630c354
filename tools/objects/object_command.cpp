// krvtool object SRC -o FILE.krv, and the content step that builds the
// default objects content/objects/*.shape into GAME/Objects.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "arguments.h"
#include "command.h"
#include "objects/object_source.h"
#include "source_folder.h"

namespace {

constexpr CommandOption kObjectOptions[] = {{"-o"}};

int runObject(std::span<char*> args) {
    CommandArguments arguments;
    std::string error;
    // Any fault is answered with the usage line alone.
    const bool read = readArguments(args, {kObjectOptions, "", ""}, arguments, error);
    const std::string source = arguments.input.value_or("");
    const std::string output = arguments.value("-o").value_or("");
    if (!read || source.empty() || output.empty()) {
        std::fprintf(stderr, "usage: krvtool object SOURCE.shape -o FILE.krv\n");
        return 2;
    }
    if (!compile_object_file(source, output, true, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

bool buildDefaultObjects(const std::string& sourceFolder, const std::string& gameFolder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> sources;
    if (!listSources(fs::path(sourceFolder) / "objects", ".shape", sources)) return true;
    return compileSources(sources, [&](const fs::path& source, std::string& error) {
        const fs::path model = fs::path(gameFolder) / "Objects" / (source.stem().string() + ".krv");
        return compile_object_file(source.string(), model.string(), false, error);
    });
}

const CommandRegistration objectCommand("object", "object SOURCE.shape -o FILE.krv", runObject);
const ContentStepRegistration objectStep(40, "objects", buildDefaultObjects);

}  // namespace
