// The portable core of the framework: the loop, the callbacks, the key
// state, the page and the palette. Everything platform-specific is asked of
// the backend.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/audio.h"
#include "framework/backend.h"
#include "framework/gfx_errors.h"

std::uint8_t keyState[256] = {};

namespace {

struct Callbacks {
    ModeFilter modeFilter = nullptr;
    DrawCallback draw = nullptr;
    UpdateCallback update = nullptr;
    KeyDownCallback keyDown = nullptr;
    MouseDownCallback mouseDown = nullptr;
    ModeSwitchCallback modeSwitch = nullptr;
    ActivateCallback activate = nullptr;
    SuspendCallback suspend = nullptr;
};

struct Core {
    Backend* backend = nullptr;
    Callbacks callbacks;
    DriverOptions driverOptions;
    FwContext context;
    DrawContext page;
    std::array<std::uint8_t, kScreenPixels> pixels{};
    std::array<PaletteEntry, 256> loadedPalette{};
    std::array<PaletteEntry, 256> shownPalette{};
    ModeChoice mode;
    int windowed = 1;
    bool hasDisplay = false;
    // Switched away from full screen and not yet back: nothing is drawn.
    bool suspended = false;
    bool exitRequested = false;
    int directAccessDepth = 0;
    std::string title;
};

Core& core() {
    static Core instance;
    return instance;
}

// Every program picks its backend before its first fw_ call (main the SDL
// one, the page the browser's, tools and tests the headless one); a call
// before that is a fault in the program, not in the content.
[[noreturn]] void failWithoutBackend() {
    std::fputs("Keravon: no backend chosen before the first fw_ call (the program's main picks one)\n",
               stderr);
    std::fflush(stderr);
    std::exit(1);
}

void resetPage(DrawContext& page, std::uint8_t* pixels) {
    page.pixels = pixels;
    page.width = kScreenWidth;
    page.height = kScreenHeight;
    page.bytesPerLine = kScreenWidth;
    page.clipLeft = 0;
    page.clipTop = 0;
    page.clipRight = kScreenWidth - 1;
    page.clipBottom = kScreenHeight - 1;
}

// The suspend callback's answer; without a callback every switch is allowed.
bool allowedBySuspend(int leavingOrReturning) {
    Core& c = core();
    return !c.callbacks.suspend || c.callbacks.suspend(&c.context, leavingOrReturning) != 0;
}

void dispatch(const BackendEvent& event) {
    Core& c = core();
    switch (event.kind) {
    case BackendEvent::Kind::KeyDown:
        if (event.scanCode > 0 && event.scanCode < 256) keyState[event.scanCode] = 1;
        if (c.callbacks.keyDown) {
            FwEvent fwEvent;
            fwEvent.message = static_cast<std::uint32_t>(event.character & 0xFF) |
                              (static_cast<std::uint32_t>(event.scanCode & 0xFF) << 8);
            c.callbacks.keyDown(fwEvent);
        }
        break;
    case BackendEvent::Kind::KeyUp:
        if (event.scanCode > 0 && event.scanCode < 256) keyState[event.scanCode] = 0;
        break;
    case BackendEvent::Kind::MouseDown:
        if (c.callbacks.mouseDown) c.callbacks.mouseDown(FwEvent{});
        break;
    case BackendEvent::Kind::QuitConfirmed:
        fw_request_exit();
        break;
    case BackendEvent::Kind::ModeSwitched:
        c.windowed = event.windowed;
        if (c.callbacks.modeSwitch) c.callbacks.modeSwitch(c.mode, c.windowed);
        break;
    case BackendEvent::Kind::Activated:
        // Back from a suspension: drawing resumes once the game agrees.
        if (c.suspended && allowedBySuspend(2)) c.suspended = false;
        if (c.windowed && c.callbacks.activate) c.callbacks.activate(1);
        break;
    case BackendEvent::Kind::Deactivated:
        // Full screen only: a window keeps drawing while in the background,
        // and a game that refuses the suspension keeps drawing too.
        if (!c.windowed && !c.suspended && allowedBySuspend(1)) c.suspended = true;
        if (c.windowed && c.callbacks.activate) c.callbacks.activate(0);
        break;
    }
}

int lastResult = 0;
// The stopwatch (below), reset with the rest so that a second run in one
// process starts as the first did.
std::uint32_t timerStartTime = 0;
std::uint32_t timerStopTime = 0;

}  // namespace

void fw_use_backend(Backend* backend) {
    // An audio device open on the backend being left is closed with it.
    if (backend != core().backend) fw_audio_close();
    core().backend = backend;
}

Backend& fw_backend() {
    Core& c = core();
    if (!c.backend) failWithoutBackend();
    return *c.backend;
}

void fw_reset() {
    Core& c = core();
    Backend* backend = c.backend;
    fw_audio_close();
    c.callbacks = Callbacks{};
    c.driverOptions = DriverOptions{};
    c.context = FwContext{};
    c.page = DrawContext{};
    c.pixels.fill(0);
    c.loadedPalette.fill(PaletteEntry{});
    c.shownPalette.fill(PaletteEntry{});
    c.mode = ModeChoice{};
    c.windowed = 1;
    c.hasDisplay = false;
    c.suspended = false;
    c.exitRequested = false;
    c.directAccessDepth = 0;
    c.backend = backend;
    std::fill(std::begin(keyState), std::end(keyState), std::uint8_t{0});
    lastResult = 0;
    timerStartTime = 0;
    timerStopTime = 0;
}

bool fw_has_display() { return core().hasDisplay; }

DrawCallback fw_current_draw_callback() { return core().callbacks.draw; }

DrawContext* fw_draw_context() {
    Core& c = core();
    return c.hasDisplay ? &c.page : nullptr;
}

void fw_set_mode_filter(ModeFilter filter) { core().callbacks.modeFilter = filter; }
void fw_set_driver_options(const DriverOptions& options) { core().driverOptions = options; }

FwContext* fw_init(std::string_view title) {
    Core& c = core();
    // Titles are kept to 79 characters: the window title bar has room for no more.
    c.title = std::string(title.substr(0, 79));
    if (!fw_backend().init(c.title)) {
        lastResult = gfx_error::kPlatform;
        return nullptr;
    }
    return &c.context;
}

void fw_set_draw_callback(DrawCallback callback) { core().callbacks.draw = callback; }
void fw_set_update_callback(UpdateCallback callback) { core().callbacks.update = callback; }
void fw_set_key_down_callback(KeyDownCallback callback) { core().callbacks.keyDown = callback; }
void fw_set_mouse_down_callback(MouseDownCallback callback) { core().callbacks.mouseDown = callback; }
void fw_set_mode_switch_callback(ModeSwitchCallback callback) { core().callbacks.modeSwitch = callback; }
void fw_set_activate_callback(ActivateCallback callback) { core().callbacks.activate = callback; }
void fw_set_suspend_callback(SuspendCallback callback) { core().callbacks.suspend = callback; }

bool fw_choose_mode(ModeChoice* mode, int* windowed) {
    Core& c = core();
    // The only mode this platform offers is 640x480 at 8 bits; the filter
    // still decides whether it is listed.
    ModeChoice offered;
    offered.modeNumber = -1;
    offered.width = kScreenWidth;
    offered.height = kScreenHeight;
    offered.bitsPerPixel = 8;
    offered.pages = 2;
    offered.flags = 0;
    std::snprintf(offered.driverName, sizeof offered.driverName, "%s", "SDL2");
    if (c.callbacks.modeFilter &&
        !c.callbacks.modeFilter(offered.width, offered.height, offered.bitsPerPixel, offered.flags)) {
        return false;
    }
    int chosenWindowed = windowed ? *windowed : 1;
    if (!fw_backend().chooseMode(offered, chosenWindowed)) return false;
    if (mode) *mode = offered;
    if (windowed) *windowed = chosenWindowed;
    return true;
}

int fw_set_mode(const ModeChoice& mode, int windowed, int pages, int /*systemMemory*/) {
    Core& c = core();
    if (mode.width != kScreenWidth || mode.height != kScreenHeight || mode.bitsPerPixel != 8 ||
        pages < 1) {
        lastResult = gfx_error::kDisplayMode;
        return 0;
    }
    if (!fw_backend().setMode(mode, windowed)) {
        lastResult = gfx_error::kDisplayMode;
        return 0;
    }
    c.mode = mode;
    c.windowed = windowed;
    c.pixels.fill(0);
    resetPage(c.page, c.pixels.data());
    c.context.drawContext = &c.page;
    c.hasDisplay = true;
    c.suspended = false;
    return 1;
}

void fw_set_palette(const PaletteEntry* entries, int count, int first) {
    Core& c = core();
    if (!entries) return;
    for (int i = 0; i < count; ++i) {
        const int index = first + i;
        if (index >= 0 && index < 256) c.loadedPalette[index] = entries[i];
    }
}

void fw_realize_palette(int count, int first, int /*waitForRetrace*/) {
    Core& c = core();
    for (int i = 0; i < count; ++i) {
        const int index = first + i;
        if (index >= 0 && index < 256) c.shownPalette[index] = c.loadedPalette[index];
    }
}

const PaletteEntry* fw_current_palette() { return core().shownPalette.data(); }

std::string fw_saved_progress() { return fw_backend().savedProgress(); }
void fw_keep_progress(std::string_view text) { fw_backend().keepProgress(text); }

void fw_swap_buffers(int /*waitForRetrace*/) {
    Core& c = core();
    if (!c.hasDisplay) return;
    fw_backend().present(c.pixels.data(), c.shownPalette.data());
}

int fw_main_loop() {
    core().exitRequested = false;
    fw_backend().runLoop(fw_loop_iteration);
    return 0;
}

bool fw_loop_iteration() {
    Core& c = core();
    // The loop ends after the iteration in which the exit was asked for, so
    // that iteration still updates and draws.
    BackendEvent event;
    while (fw_backend().pollEvent(event)) dispatch(event);
    if (c.callbacks.update) c.callbacks.update();
    if (!c.suspended && c.callbacks.draw) c.callbacks.draw();
    fw_backend().endIteration();
    if (!c.exitRequested) return true;
    fw_audio_close();
    fw_backend().shutdown();
    c.hasDisplay = false;
    return false;
}

void fw_request_exit() { core().exitRequested = true; }

namespace {
ModeDialogLook& modeDialogLook() {
    static ModeDialogLook instance;
    return instance;
}
}  // namespace

void fw_set_mode_dialog_look(const ModeDialogLook& look) { modeDialogLook() = look; }
const ModeDialogLook& fw_mode_dialog_look() { return modeDialogLook(); }

// ---- Graphics library: state kept with the page ----------------------------

[[noreturn]] void gfx_fatal_error(std::string_view text) {
    static bool inFatalError = false;
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    if (inFatalError) std::_Exit(1);  // a second fatal error during clean-up
    inFatalError = true;
    Core& c = core();
    if (!c.backend) std::exit(1);  // nothing to close or show it on yet
    Backend& backend = *c.backend;
    fw_audio_close();
    backend.shutdown();
    // Before the window opens too: a player who started the game from the
    // desktop would otherwise see it simply not start. The backend knows
    // whether there is a display to show it on.
    backend.showFatalError(text);
    c.hasDisplay = false;
    std::exit(1);
}

int gfx_result() {
    const int result = lastResult;
    lastResult = 0;
    return result;
}

void gfx_set_result(int code) { lastResult = code; }

void gfx_set_clip_rect(int left, int top, int right, int bottom) {
    DrawContext& page = core().page;
    page.clipLeft = std::max(left, 0);
    page.clipTop = std::max(top, 0);
    page.clipRight = std::min(right, kScreenWidth - 1);
    page.clipBottom = std::min(bottom, kScreenHeight - 1);
}

void gfx_clear() {
    Core& c = core();
    if (!c.hasDisplay) return;
    c.pixels.fill(0);
}

int gfx_key_down(int scanCode) {
    if (scanCode < 0 || scanCode > 255) return 0;
    return keyState[scanCode] ? 1 : 0;
}

void gfx_begin_direct_access() { ++core().directAccessDepth; }
void gfx_end_direct_access() {
    if (core().directAccessDepth > 0) --core().directAccessDepth;
}

// ---- Stopwatch ---------------------------------------------------------------

std::uint32_t timer_now() { return static_cast<std::uint32_t>(fw_backend().microseconds()); }
void timer_start() { timerStartTime = timer_now(); }
// Unsigned subtraction keeps differences right across the 2^32 wrap.
std::uint32_t timer_lap() { return timer_now() - timerStartTime; }
void timer_stop() { timerStopTime = timer_now(); }
std::uint32_t timer_count() { return timerStopTime - timerStartTime; }
