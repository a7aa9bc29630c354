// krvtool object SRC -o FILE.krv, and the content step that builds the
// default objects content/objects/*.shape into GAME/Objects.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "command.h"
#include "objects/object_source.h"

namespace {

int runObject(std::span<char*> args) {
    std::string source, output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (arg == "-o" && i + 1 < args.size()) output = args[++i];
        else if (source.empty() && !arg.empty() && arg[0] != '-') source = arg;
        else output.clear(), source.clear(), i = args.size();
    }
    if (source.empty() || output.empty()) {
        std::fprintf(stderr, "usage: krvtool object SOURCE.shape -o FILE.krv\n");
        return 2;
    }
    std::string error;
    if (!compile_object_file(source, output, true, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

bool buildDefaultObjects(const std::string& sourceFolder, const std::string& gameFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(sourceFolder) / "objects";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return true;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".shape") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources) {
        const fs::path model = fs::path(gameFolder) / "Objects" / (source.stem().string() + ".krv");
        std::string error;
        if (!compile_object_file(source.string(), model.string(), false, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
    }
    return true;
}

const CommandRegistration objectCommand("object", "object SOURCE.shape -o FILE.krv", runObject);
const ContentStepRegistration objectStep(40, "objects", buildDefaultObjects);

}  // namespace
