#pragma once
// The driver table behind the framework: one implementation talks to SDL2,
// the other runs with no window for tests and tools. The portable core
// (framework.cpp) owns the loop, the callbacks, the key state, the page and
// the palette, and asks the backend only for what differs.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/framework.h"
#include "framework/reports.h"

class AudioMixer;

struct BackendEvent {
    enum class Kind {
        KeyDown,       // scanCode (PC set 1) and character; never a repeat
        KeyUp,         // scanCode
        MouseDown,
        QuitConfirmed, // the user closed the window and said yes
        ModeSwitched,  // window/full screen changed; `windowed` says which
        Activated,
        Deactivated,
    };
    Kind kind = Kind::KeyDown;
    int scanCode = 0;
    int character = 0;
    int windowed = 1;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual bool init(std::string_view title) = 0;
    // The mode dialog; false means Quit.
    virtual bool chooseMode(ModeChoice& mode, int& windowed) = 0;
    // Opens the display for a 640x480 8-bit page.
    virtual bool setMode(const ModeChoice& mode, int windowed) = 0;
    // Takes the next pending event; false when there is none.
    virtual bool pollEvent(BackendEvent& event) = 0;
    // Shows a finished 640x480 page of palette indices.
    virtual void present(const std::uint8_t* pixels, const PaletteEntry* palette) = 0;
    // Called once at the end of every loop iteration (pacing, frame capture).
    virtual void endIteration() = 0;
    // Monotonic microseconds; the stopwatch truncates to 32 bits.
    virtual std::uint64_t microseconds() = 0;
    // Shows a fatal message when a display exists; never in headless runs.
    virtual void showFatalError(std::string_view text) = 0;
    // Restores the display and closes the window; safe to call twice.
    virtual void shutdown() = 0;
    // Drives the main loop: calls `iteration` until it returns false. A
    // desktop process loops right here; a browser page must return to its
    // event loop and call one iteration per animation frame instead.
    virtual void runLoop(bool (*iteration)()) {
        while (iteration()) {
        }
    }

    // ---- Progress (a browser page keeps it between visits) ----
    // The progress the player chose to continue with; empty for a new game
    // and wherever nothing is kept (the desktop, headless runs).
    virtual std::string savedProgress() { return {}; }
    // Keeps the latest progress; empty when there is nothing to continue.
    virtual void keepProgress(std::string_view /*text*/) {}

    // ---- Sound (framework/audio.h drives these) ----
    // Opens the audio device, which from then on plays what `mixer` mixes;
    // false when there is none (every sound stays silent). By default none.
    virtual bool openAudio(AudioMixer& /*mixer*/) { return false; }
    // Closes the device; once it returns the mixer is not touched again.
    virtual void closeAudio() {}
    // Held, briefly, around every change the game makes to an open mixer.
    virtual void lockAudio() {}
    virtual void unlockAudio() {}

    // ---- Reports (framework/reports.h); only a page has someone to tell ----
    virtual void reportAnswer(const FwAnswer& /*answer*/) {}
};

// The backend every fw_ operation uses; main picks SDL, the page the
// browser's, tools and tests the headless one (fw_use_headless_backend).
// An fw_ call that needs a backend before the choice ends the program with
// a message on stderr.
void fw_use_backend(Backend* backend);
Backend& fw_backend();

// What the game gave fw_set_mode_dialog_look, for the backend's mode dialog
// or start screen; kept across fw_reset, as the game gives it once.
const ModeDialogLook& fw_mode_dialog_look();

// Resets the core to its state at process start (callbacks, flags, page,
// palette, key state); lets tests run the game many times in one process.
void fw_reset();

// One pass of the main loop: events, update, draw, end of iteration. Once the
// game has asked to exit it also closes the sound and the display and
// returns false. fw_main_loop hands it to the backend's runLoop.
bool fw_loop_iteration();

// True once fw_set_mode has succeeded: the page exists.
bool fw_has_display();

// The draw callback the loop calls next; a backend sees the game's scenes
// (intro, play, ending) change by it.
DrawCallback fw_current_draw_callback();

// The page being drawn, or null before fw_set_mode.
DrawContext* fw_draw_context();

// Sets the code gfx_result reports next (loaders use negative codes).
void gfx_set_result(int code);
