#pragma once
// Runs the real game on the headless backend for a test: the data folder is
// the built game's (by default without its quiz), keys come from a script, and the game's objects stay
// alive after the loop so the test can look at them.

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/headless/headless.h"
#include "shell/game.h"
#include "shell/shell.h"

// The built game without its quiz: no intro, and a logic file of one start
// point per maze, no objects, no passages. Tests of the shell's keys and of
// walking start in the maze at once and never meet a question. Made once per
// test program, removed when it ends.
inline const std::string& plainGameFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            namespace fs = std::filesystem;
            path = fs::temp_directory_path() / ("krv_plain_game_" + std::to_string(::getpid()));
            fs::remove_all(path);
            fs::copy(KRV_GAME_DIR, path, fs::copy_options::recursive);
            fs::remove(path / "Data" / "krv.int");
            std::ofstream(path / "Data" / "krv.lgk", std::ios::binary | std::ios::trunc)
                << "B 0\n790\n40\n-105\nB 1\n790\n40\n-105\nB 2\n790\n40\n-105\n";
            text = path.string();
        }
        // A death test's child ends through exit() too: only the process
        // that made the folder removes it.
        ~Folder() {
            if (::getpid() != owner) return;
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
        std::string text;
        pid_t owner = ::getpid();
    };
    static const Folder folder;
    return folder.text;
}

// The headless backend whose loop a test may turn by hand, one iteration
// at a time, as a browser page does: the game starts, then returns.
class SteppedBackend : public HeadlessBackend {
public:
    void runLoop(bool (*iteration)()) override {
        if (!byHand) HeadlessBackend::runLoop(iteration);
    }
    bool byHand = false;
};

// Plays the whole game on `backend`, its script and limit already set, from
// the game folder `dataRoot`, and leaves the framework as it found it.
inline int playWholeGame(HeadlessBackend& backend, const std::string& dataRoot) {
    fw_reset();
    fw_use_backend(&backend);
    fw_set_data_root(dataRoot);
    create_game();
    const int exitCode = game_main();
    destroy_game();
    fw_use_headless_backend();
    fw_reset();
    fw_set_data_root("");
    return exitCode;
}

class HeadlessGame {
public:
    explicit HeadlessGame(const std::string& dataRoot = plainGameFolder()) {
        fw_reset();
        backend_.reset();
        fw_use_backend(&backend_);
        fw_set_data_root(dataRoot);
    }
    ~HeadlessGame() {
        destroy_game();
        fw_use_headless_backend();
        fw_reset();
        fw_set_data_root("");
    }
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    HeadlessBackend& backend() { return backend_; }

    // Presses (down, then up one iteration later) a key at an iteration.
    void press(int iteration, int scanCode) {
        actions_.push_back({iteration, true, scanCode});
        actions_.push_back({iteration + 1, false, scanCode});
    }
    void hold(int iteration, int scanCode) { actions_.push_back({iteration, true, scanCode}); }
    void release(int iteration, int scanCode) { actions_.push_back({iteration, false, scanCode}); }

    // Runs game_main until the game ends or `iterations` have run.
    int run(int iterations) {
        backend_.setScript(actions_);
        backend_.setIterationLimit(iterations);
        create_game();
        return game_main();
    }

    // Loads the game and returns before its first iteration; step() then
    // runs one iteration and says whether the game goes on.
    void start() {
        backend_.setScript(actions_);
        backend_.byHand = true;
        create_game();
        game_main();
    }
    bool step() { return fw_loop_iteration(); }

    const std::uint8_t* frame() const { return backend_.lastFrame().data(); }
    std::uint8_t pixel(int x, int y) const { return frame()[y * 640 + x]; }

private:
    SteppedBackend backend_;
    std::vector<HeadlessBackend::KeyAction> actions_;
};
