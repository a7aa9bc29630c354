// Content step: copies the committed sounds of content/sounds into Wavs/.
// The game reads any WAV its audio layer can convert, so the files are
// copied as they are; content/sounds/make-sounds.sh says how they were made.
#include <filesystem>

#include "command.h"
#include "source_folder.h"

namespace {

namespace fs = std::filesystem;

bool copySounds(const std::string& source, const std::string& game) {
    return copyContentFiles(fs::path(source) / "sounds", fs::path(game) / "Wavs", ".wav");
}

const ContentStepRegistration step(15, "sounds", copySounds);

}  // namespace
