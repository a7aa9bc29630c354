// Content step: copies the hand-written data files of content/data into Data/.
#include <filesystem>

#include "command.h"
#include "source_folder.h"

namespace {
bool copyDataFiles(const std::string& source, const std::string& game) {
    return copyContentFiles(std::filesystem::path(source) / "data", std::filesystem::path(game) / "Data", "");
}
const ContentStepRegistration step(10, "data files", copyDataFiles);
}  // namespace
