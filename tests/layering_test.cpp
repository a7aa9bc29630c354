// The game's folders depend on each other in one direction only:
//   framework <- geometry <- collision <- logic <- render <- shell,
// with sound over the framework alone. The renderer draws what it is handed
// and knows neither the world nor its sounds; the world knows nothing of the
// screens the shell shows. The framework's portable core picks no backend:
// each program chooses its own, and only the SDL backend (and the tools'
// picture import beside it) sees SDL.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The source tree: the content sources sit beside src/ and tools/.
fs::path sourceRoot() { return fs::path(KRV_CONTENT_SOURCE_DIR).parent_path(); }

// The top folder under src/ of a file, or "" for src/main.cpp.
std::string moduleOf(const fs::path& file) {
    const fs::path relative = file.lexically_relative(sourceRoot() / "src");
    return std::distance(relative.begin(), relative.end()) > 1 ? relative.begin()->string() : "";
}

// Each line of every source file below `folder`, subfolders too.
struct IncludeLine {
    fs::path file;
    int number;
    std::string text;
};

std::vector<IncludeLine> includeLines(const fs::path& folder) {
    std::vector<IncludeLine> lines;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h") continue;
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (line.rfind("#include", 0) == 0) lines.push_back({entry.path(), number, line});
        }
    }
    return lines;
}

// The folder a quoted game include names, e.g. "logic" for "logic/world.h".
std::string includedModule(const std::string& line) {
    const auto open = line.find('"');
    if (open == std::string::npos) return "";
    const auto slash = line.find('/', open);
    return slash == std::string::npos ? "" : line.substr(open + 1, slash - open - 1);
}

std::string where(const IncludeLine& include) {
    return include.file.lexically_relative(sourceRoot()).string() + ":" + std::to_string(include.number) +
           ": " + include.text;
}

TEST(Layering, EachFolderIncludesOnlyTheFoldersBelowIt) {
    const std::map<std::string, std::set<std::string>> allowed = {
        {"framework", {"framework"}},
        {"geometry", {"framework", "geometry"}},
        {"collision", {"framework", "geometry", "collision"}},
        {"sound", {"framework", "sound"}},
        {"logic", {"framework", "geometry", "collision", "sound", "logic"}},
        {"render", {"framework", "geometry", "collision", "render"}},
        {"shell", {"framework", "geometry", "collision", "sound", "logic", "render", "shell"}},
    };
    int checked = 0;
    for (const IncludeLine& include : includeLines(sourceRoot() / "src")) {
        const std::string from = moduleOf(include.file);
        const std::string to = includedModule(include.text);
        if (from.empty() || to.empty()) continue;
        ASSERT_TRUE(allowed.count(from)) << "a folder the layering does not know: " << from;
        EXPECT_TRUE(allowed.at(from).count(to)) << where(include);
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(Layering, TheFrameworkCorePicksNoBackend) {
    // The browser backend is the headless one with a page around it.
    const std::map<std::string, std::set<std::string>> backendsSeen = {
        {"", {}}, {"sdl", {"sdl"}}, {"headless", {"headless"}}, {"web", {"web", "headless"}}};
    const fs::path framework = sourceRoot() / "src" / "framework";
    for (const IncludeLine& include : includeLines(framework)) {
        const fs::path relative = include.file.lexically_relative(framework);
        const std::string from =
            std::distance(relative.begin(), relative.end()) > 1 ? relative.begin()->string() : "";
        ASSERT_TRUE(backendsSeen.count(from)) << "a backend the layering does not know: " << from;
        for (const char* backend : {"sdl", "headless", "web"}) {
            if (include.text.find(std::string("\"framework/") + backend + "/") == std::string::npos) continue;
            EXPECT_TRUE(backendsSeen.at(from).count(backend)) << where(include);
        }
    }
}

TEST(Layering, OnlyTheSdlBackendIncludesSdl) {
    for (const char* top : {"src", "tools"}) {
        for (const IncludeLine& include : includeLines(sourceRoot() / top)) {
            if (include.text.find("SDL") == std::string::npos) continue;
            const std::string path = include.file.generic_string();
            EXPECT_NE(path.find("/sdl/"), std::string::npos) << where(include);
        }
    }
}

}  // namespace
