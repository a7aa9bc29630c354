#pragma once
// Runs the real game on the headless backend for a test: the data folder is
// the built game's, keys come from a script, and the game's objects stay
// alive after the loop so the test can look at them.

#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/headless.h"
#include "shell/game.h"
#include "shell/shell.h"

class HeadlessGame {
public:
    explicit HeadlessGame(const std::string& dataRoot = KRV_GAME_DIR) {
        fw_reset();
        backend_.reset();
        fw_use_backend(&backend_);
        fw_set_data_root(dataRoot);
    }
    ~HeadlessGame() {
        destroy_game();
        fw_use_backend(nullptr);
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

    const std::uint8_t* frame() const { return backend_.lastFrame().data(); }
    std::uint8_t pixel(int x, int y) const { return frame()[y * 640 + x]; }

private:
    HeadlessBackend backend_;
    std::vector<HeadlessBackend::KeyAction> actions_;
};
