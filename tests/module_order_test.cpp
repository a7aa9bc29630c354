// The game's folders include only those below them, so no two depend on each
// other: framework, geometry, collision, logic, render, shell, with sound
// above the framework and used by logic and the shell, never by the renderer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

TEST(ModuleOrder, EveryFolderIncludesOnlyItselfAndTheFoldersBelowIt) {
    const std::map<std::string, std::set<std::string>> allowed = {
        {"framework", {"framework"}},
        {"geometry", {"framework", "geometry"}},
        {"collision", {"framework", "geometry", "collision"}},
        {"sound", {"framework", "sound"}},
        {"logic", {"framework", "geometry", "collision", "sound", "logic"}},
        {"render", {"framework", "geometry", "collision", "render"}},
        {"shell", {"framework", "geometry", "collision", "sound", "logic", "render", "shell"}},
    };
    // The content sources sit beside src/ in the source tree.
    const auto src = std::filesystem::path(KRV_CONTENT_SOURCE_DIR).parent_path() / "src";
    int files = 0;
    for (const auto& [folder, below] : allowed) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(src / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream file(entry.path());
            std::string line;
            for (int number = 1; std::getline(file, line); ++number) {
                if (line.rfind("#include \"", 0) != 0) continue;
                const std::size_t slash = line.find('/');
                const std::string included =
                    slash == std::string::npos ? "" : line.substr(10, slash - 10);
                EXPECT_TRUE(below.contains(included))
                    << std::filesystem::relative(entry.path(), src).string() << ":" << number
                    << ": " << line;
            }
            ++files;
        }
    }
    EXPECT_GT(files, 100);
}
