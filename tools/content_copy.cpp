// Content step: copies the hand-written data files of content/data into Data/.
#include <filesystem>
#include <cstdio>

#include "command.h"

namespace {
bool copyDataFiles(const std::string& source, const std::string& game) {
    namespace fs = std::filesystem;
    const fs::path from = fs::path(source) / "data";
    std::error_code error;
    if (!fs::is_directory(from, error)) return true;
    for (const auto& entry : fs::directory_iterator(from, error)) {
        if (!entry.is_regular_file()) continue;
        fs::copy_file(entry.path(), fs::path(game) / "Data" / entry.path().filename(),
                      fs::copy_options::update_existing, error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s: %s\n", entry.path().c_str(), error.message().c_str());
            return false;
        }
    }
    return true;
}
const ContentStepRegistration step(10, "data files", copyDataFiles);
}  // namespace
