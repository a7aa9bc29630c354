// krvtool run: plays the real game on the headless backend, fed by a key
// script, and writes the frames asked for as PNG files and, when asked, what
// it played as a WAV file (docs/headless-runs.md).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "framework/files.h"
#include "framework/headless/headless.h"
#include "framework/page_hash.h"
#include "shell/shell.h"

namespace {

// A run that nothing ends still stops: about 55 minutes of game time.
constexpr int kDefaultIterationLimit = 100000;

constexpr const char* kUsage =
    "run [--script FILE] [--frames DIR] [--data DIR] [--max-iterations N] [--all-frames]"
    " [--audio-out FILE.wav] [--frame-hashes FILE]";

// The headless backend that also writes "ITERATION HASH" for every page it
// is shown, the lines a browser run of the same script is held to.
class HashingBackend final : public HeadlessBackend {
public:
    bool openHashes(const std::string& path) {
        hashes_.open(path, std::ios::binary | std::ios::trunc);
        return hashes_.is_open();
    }
    bool hashesWritten() {
        if (hashes_.is_open()) hashes_.flush();
        return !hashes_.is_open() || hashes_.good();
    }
    void present(const std::uint8_t* pixels, const PaletteEntry* palette) override {
        if (hashes_.is_open())
            hashes_ << iteration() << ' ' << page_hash_text(page_hash(pixels, palette)) << '\n';
        HeadlessBackend::present(pixels, palette);
    }

private:
    std::ofstream hashes_;
};

int usageError(const std::string& message) { return usageFault(kUsage, message); }

// The folder a file is to be written in, made like the frames' folder.
bool makeParentFolder(const std::string& file) {
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    if (parent.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    return std::filesystem::is_directory(parent, error);
}

int runGame(std::span<char*> args) {
    std::string script;
    std::string frames;
    std::string data;
    std::string audioOut;
    std::string frameHashes;
    int iterationLimit = kDefaultIterationLimit;
    bool allFrames = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        const bool takesValue = option == "--script" || option == "--frames" ||
                                option == "--data" || option == "--max-iterations" ||
                                option == "--audio-out" || option == "--frame-hashes";
        if (option == "--all-frames") {
            allFrames = true;
            continue;
        }
        if (!takesValue) return usageError("unknown option '" + std::string(option) + "'");
        if (i + 1 >= args.size()) return usageError(std::string(option) + " needs a value");
        const std::string value = args[++i];
        if (option == "--script") {
            script = value;
        } else if (option == "--frames") {
            frames = value;
        } else if (option == "--data") {
            data = value;
        } else if (option == "--audio-out") {
            audioOut = value;
        } else if (option == "--frame-hashes") {
            frameHashes = value;
        } else {
            char* end = nullptr;
            const long limit = std::strtol(value.c_str(), &end, 10);
            if (*end != '\0' || limit < 1 || limit > 100'000'000) {
                return usageError("--max-iterations wants a number from 1 to 100000000");
            }
            iterationLimit = static_cast<int>(limit);
        }
    }

    // The backend holds a whole page and its palette: keep it off the stack.
    auto backend = std::make_unique<HashingBackend>();
    if (!script.empty()) {
        std::string error;
        if (!backend->loadScript(script, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }
    // Hashes alone are a check of the pictures, not a wish for them: without
    // a folder the script's shots would land in the working folder.
    if (!frameHashes.empty() && frames.empty() && !allFrames) backend->dropScriptShots();
    backend->captureFrames(frames, {}, allFrames);
    backend->setIterationLimit(iterationLimit);
    if (!audioOut.empty() && !makeParentFolder(audioOut)) {
        std::fprintf(stderr, "krvtool run: cannot create the folder of %s\n", audioOut.c_str());
        return 1;
    }
    if (!audioOut.empty() && !backend->recordAudio(audioOut)) {
        std::fprintf(stderr, "krvtool run: cannot create the sound recording %s\n",
                     audioOut.c_str());
        return 1;
    }
    if (!frameHashes.empty() && (!makeParentFolder(frameHashes) || !backend->openHashes(frameHashes))) {
        std::fprintf(stderr, "krvtool run: cannot create the frame hash file %s\n",
                     frameHashes.c_str());
        return 1;
    }

    fw_reset();
    fw_set_data_root(data);
    fw_use_backend(backend.get());
    const int exitCode = run_game();
    fw_use_headless_backend();
    const bool audioWritten = backend->finishAudio();
    const bool hashesWritten = backend->hashesWritten();
    if (!hashesWritten)
        std::fprintf(stderr, "krvtool run: cannot write the frame hashes %s\n", frameHashes.c_str());

    std::fprintf(stderr, "krvtool run: %d iterations, %d frames presented, %d written\n",
                 backend->iteration(), backend->framesPresented(), backend->framesWritten());
    if (!audioOut.empty() && audioWritten) {
        std::fprintf(stderr, "krvtool run: sound of %d iterations written to %s\n",
                     backend->iteration(), audioOut.c_str());
    }
    if (backend->stoppedByLimit()) {
        std::fprintf(stderr, "krvtool run: stopped by the limit of %d iterations\n",
                     iterationLimit);
    }
    // Frames, hashes or sound that were asked for and not written make the run a failure.
    if (exitCode == 0 && (backend->captureFailures() > 0 || !audioWritten || !hashesWritten))
        return 1;
    return exitCode;
}

const CommandRegistration command("run", kUsage, runGame);

}  // namespace
