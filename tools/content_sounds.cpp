// Content step: copies the committed sounds of content/sounds into Wavs/.
// The game reads any WAV its audio layer can convert, so the files are
// copied as they are; content/sounds/make-sounds.sh says how they were made.
#include <cstdio>
#include <filesystem>

#include "command.h"

namespace {

namespace fs = std::filesystem;

bool copySounds(const std::string& source, const std::string& game) {
    const fs::path from = fs::path(source) / "sounds";
    std::error_code error;
    if (!fs::is_directory(from, error)) return true;
    const fs::path to = fs::path(game) / "Wavs";
    fs::create_directories(to, error);
    for (const auto& entry : fs::directory_iterator(from, error)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".wav") continue;
        fs::copy_file(entry.path(), to / entry.path().filename(),
                      fs::copy_options::update_existing, error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s: %s\n", entry.path().c_str(),
                         error.message().c_str());
            return false;
        }
    }
    return true;
}

const ContentStepRegistration step(15, "sounds", copySounds);

}  // namespace
