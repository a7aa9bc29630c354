// Content step: copies the committed sounds of content/sounds into Wavs/.
//
// The game reads a WAV through a fixed 44-byte header and takes the sample
// data from byte 44, so a file with any chunk between its format and its data
// would play its header bytes as noise. The step refuses such a file here,
// where its author can still fix it, rather than let it reach a player.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "command.h"

namespace {

namespace fs = std::filesystem;

bool hasPlainHeader(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<char, 44> header{};
    if (!file.read(header.data(), static_cast<std::streamsize>(header.size()))) return false;
    const std::string_view bytes(header.data(), header.size());
    return bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 8) == "WAVEfmt " && bytes.substr(36, 4) == "data";
}

bool copySounds(const std::string& source, const std::string& game) {
    const fs::path from = fs::path(source) / "sounds";
    std::error_code error;
    if (!fs::is_directory(from, error)) return true;
    const fs::path to = fs::path(game) / "Wavs";
    fs::create_directories(to, error);
    for (const auto& entry : fs::directory_iterator(from, error)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".wav") continue;
        if (!hasPlainHeader(entry.path())) {
            std::fprintf(stderr, "%s:1: not a plain 44-byte-header WAV (RIFF, fmt, then data)\n",
                         entry.path().c_str());
            return false;
        }
        fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::update_existing, error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s: %s\n", entry.path().c_str(), error.message().c_str());
            return false;
        }
    }
    return true;
}

const ContentStepRegistration step(15, "sounds", copySounds);

}  // namespace
