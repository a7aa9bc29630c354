// The SDL2 backend: the window and its events, the pacing of the loop, the
// clock and the message boxes. The page, the palette and the loop itself
// belong to the portable core.

#include "framework/sdl/sdl_backend.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <string>
#include <thread>

#include "framework/backend.h"
#include "framework/clock.h"
#include "framework/frame_pacer.h"
#include "framework/sdl/key_filter.h"
#include "framework/sdl/sdl_audio.h"
#include "framework/sdl/sdl_dialog.h"
#include "framework/sdl/sdl_keys.h"
#include "framework/sdl/sdl_present.h"

static_assert(KeyFilter::kScancodes == SDL_NUM_SCANCODES);

namespace {

std::uint64_t clockMicroseconds() {
    return counter_to_microseconds(SDL_GetPerformanceCounter(), SDL_GetPerformanceFrequency());
}

void sleepMilliseconds(std::uint32_t milliseconds) {
    if (milliseconds == 0) {
        std::this_thread::yield();
    } else {
        SDL_Delay(milliseconds);
    }
}

bool invisibleDriver(std::string_view name) { return name == "offscreen" || name == "dummy"; }

// The drivers that show nothing are used only when asked for by name
// (SDL_VIDEODRIVER), as the tests and timing runs do.
bool realDisplayOrAskedFor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    if (!invisibleDriver(driver)) return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && *asked;
}

bool invisibleDriverAskedFor() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && invisibleDriver(asked);
}

// Events made here rather than read from SDL: the key-ups of keys still held
// when the focus goes, and the notices that follow a mode switch.
class PendingEvents {
public:
    static constexpr int kCapacity = 300;  // every key up once, plus notices

    void push(const BackendEvent& event) {
        if (count_ < kCapacity) events_[count_++] = event;
    }
    bool pop(BackendEvent& event) {
        if (next_ >= count_) {
            next_ = count_ = 0;
            return false;
        }
        event = events_[next_++];
        return true;
    }

private:
    std::array<BackendEvent, kCapacity> events_{};
    int count_ = 0;
    int next_ = 0;
};

class SdlBackend : public Backend {
public:
    bool init(std::string_view title) override;
    bool chooseMode(ModeChoice& mode, int& windowed) override;
    bool setMode(const ModeChoice& mode, int windowed) override;
    bool pollEvent(BackendEvent& event) override;
    void present(const std::uint8_t* pixels, const PaletteEntry* palette) override;
    void endIteration() override { pacer_.wait(); }
    std::uint64_t microseconds() override { return clockMicroseconds(); }
    void showFatalError(std::string_view text) override;
    void shutdown() override;
    bool openAudio(AudioMixer& mixer) override { return audio_.open(mixer); }
    void closeAudio() override { audio_.close(); }
    void lockAudio() override { audio_.lock(); }
    void unlockAudio() override { audio_.unlock(); }

private:
    // Turns one SDL event into at most one backend event (others queued).
    bool translate(const SDL_Event& event, BackendEvent& out);
    bool translateKey(const SDL_KeyboardEvent& key, BackendEvent& out);
    bool translateWindow(const SDL_WindowEvent& window, BackendEvent& out);
    bool switchMode(bool windowed, BackendEvent& out);
    void releaseHeldKeys();
    bool confirmQuit();

    static constexpr std::uint64_t kSwitchSettle = 500000;  // microseconds

    std::string title_;
    std::uint64_t lastSwitch_ = 0;
    bool videoStarted_ = false;
    SdlScreen screen_;
    FramePacer pacer_{clockMicroseconds, sleepMilliseconds};
    PendingEvents pending_;
    SdlAudio audio_;
    KeyFilter keys_;
};

bool SdlBackend::init(std::string_view title) {
    title_ = std::string(title);
    if (!videoStarted_) {
        // Closing the window asks first; only a signal may end the game at once.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "SDL: cannot start video: %s\n", SDL_GetError());
            return false;
        }
        if (!realDisplayOrAskedFor()) {
            // SDL falls back to an invisible driver when there is no display:
            // the mode dialog would then wait forever for a key nobody can press.
            std::fprintf(stderr, "SDL: no display (only the '%s' video driver is available)\n",
                         SDL_GetCurrentVideoDriver());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        // The game reads keys, never text: no input method in the way.
        SDL_StopTextInput();
        videoStarted_ = true;
    }
    return true;
}

bool SdlBackend::chooseMode(ModeChoice& /*mode*/, int& /*windowed*/) {
    // The offered mode is kept and the windowed flag stays as the caller set it.
    if (!videoStarted_) return false;
    return sdl_run_mode_dialog(title_);
}

bool SdlBackend::setMode(const ModeChoice& /*mode*/, int windowed) {
    if (!videoStarted_) return false;
    if (screen_.isOpen()) {
        if (!screen_.setWindowed(windowed != 0)) return false;
    } else {
        if (!screen_.open(title_, windowed != 0)) return false;
    }
    keys_.clear();
    pacer_.restart();
    return true;
}

bool SdlBackend::pollEvent(BackendEvent& event) {
    if (pending_.pop(event)) return true;
    if (!videoStarted_) return false;
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent)) {
        if (translate(sdlEvent, event)) return true;
        if (pending_.pop(event)) return true;
    }
    return false;
}

bool SdlBackend::translate(const SDL_Event& event, BackendEvent& out) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: return translateKey(event.key, out);
        case SDL_MOUSEBUTTONDOWN:
            out = BackendEvent{};
            out.kind = BackendEvent::Kind::MouseDown;
            return true;
        case SDL_WINDOWEVENT: return translateWindow(event.window, out);
        case SDL_QUIT:
            // Only a signal sends this (closing the window asks first).
            out = BackendEvent{};
            out.kind = BackendEvent::Kind::QuitConfirmed;
            return true;
        default: return false;
    }
}

bool SdlBackend::translateKey(const SDL_KeyboardEvent& key, BackendEvent& out) {
    const SDL_Scancode scancode = key.keysym.scancode;
    const bool down = key.type == SDL_KEYDOWN;
    const bool enter = scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
    if (down && !key.repeat && enter && (key.keysym.mod & KMOD_ALT) && screen_.isOpen()) {
        // Alt+Enter belongs to the window; the game never sees this Enter.
        return switchMode(!screen_.windowed(), out);
    }
    const int code = down ? keys_.keyDown(scancode, key.repeat != 0) : keys_.keyUp(scancode);
    if (code == 0) return false;
    out = BackendEvent{};
    out.scanCode = code;
    out.kind = down ? BackendEvent::Kind::KeyDown : BackendEvent::Kind::KeyUp;
    if (down) out.character = key_character(scancode);
    return true;
}

bool SdlBackend::translateWindow(const SDL_WindowEvent& window, BackendEvent& out) {
    if (!screen_.isOpen() || window.windowID != screen_.windowId()) return false;
    out = BackendEvent{};
    switch (window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (!confirmQuit()) return false;
            out.kind = BackendEvent::Kind::QuitConfirmed;
            return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
            // Some window managers report a maximise while a window leaves full
            // screen; taking it for a request would bounce straight back.
            if (!screen_.windowed() || clockMicroseconds() - lastSwitch_ < kSwitchSettle)
                return false;
            return switchMode(false, out);
        case SDL_WINDOWEVENT_FOCUS_GAINED: out.kind = BackendEvent::Kind::Activated; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Key-ups go to whoever has the focus now: without these the player
            // would keep walking after Alt+Tab.
            releaseHeldKeys();
            out.kind = BackendEvent::Kind::Deactivated;
            pending_.push(out);
            return false;
        default: return false;
    }
}

bool SdlBackend::switchMode(bool windowed, BackendEvent& out) {
    if (!screen_.setWindowed(windowed)) return false;
    lastSwitch_ = clockMicroseconds();
    out = BackendEvent{};
    out.kind = BackendEvent::Kind::ModeSwitched;
    out.windowed = windowed ? 1 : 0;
    return true;
}

void SdlBackend::releaseHeldKeys() {
    keys_.releaseAll([this](int code) {
        BackendEvent up;
        up.kind = BackendEvent::Kind::KeyUp;
        up.scanCode = code;
        pending_.push(up);
    });
}

bool SdlBackend::confirmQuit() {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = screen_.window();
    box.title = "Confirm Exit";
    box.message = "Are you sure you want to quit?";
    box.numbuttons = 2;
    box.buttons = buttons;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        // No way to ask: closing the window is taken as meant.
        std::fprintf(stderr, "SDL: cannot ask before quitting: %s\n", SDL_GetError());
        return true;
    }
    // Keys released while the box had the focus never reach us.
    releaseHeldKeys();
    return pressed == 1;
}

void SdlBackend::present(const std::uint8_t* pixels, const PaletteEntry* palette) {
    screen_.present(pixels, palette);
}

void SdlBackend::showFatalError(std::string_view text) {
    // Called after shutdown, perhaps before any window was open: a box
    // without a parent needs no video subsystem. Test and timing runs that
    // asked for an invisible driver never get one; where there is no display
    // at all the box fails quietly and stderr has the text.
    if (invisibleDriverAskedFor()) return;
    const std::string message(text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Fatal Error!", message.c_str(), nullptr);
}

void SdlBackend::shutdown() {
    screen_.close();
    keys_.clear();
    if (videoStarted_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
    }
}

}  // namespace

void fw_use_sdl_backend() {
    static SdlBackend backend;
    fw_use_backend(&backend);
}
