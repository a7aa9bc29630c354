#pragma once
// The game's life on the platform: start-up, the display mode and its
// dialog, the callbacks the main loop calls, the way out, and the progress
// the platform keeps between visits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/keys.h"
#include "framework/screen.h"

struct ModeChoice {
    std::int32_t modeNumber = 0;  // -1: only usable in a window
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::int32_t pages = 0;
    std::int32_t flags = 0;
    char driverName[16] = {};
    std::int32_t stretch = 0;
    std::int32_t windowStretch = 0;
};

struct DriverOptions {
    std::int32_t directHardware = 0;
    std::int32_t directDraw = 0;
    std::int32_t vga = 0;
    std::int32_t vgaModeX = 0;
    std::int32_t vesaVbe2 = 0;
    std::int32_t sixthDriver = 0;
    std::int32_t vesaAccelerator = 0;
    std::int32_t fullscreenDib = 0;
    std::int32_t openGl = 0;
    std::int32_t openGlType = 0;
    std::int32_t colourDepthMask = 0;
};

using ModeFilter = int (*)(int width, int height, int bits, int flags);
using DrawCallback = void (*)();
using UpdateCallback = void (*)();
using KeyDownCallback = void (*)(const FwEvent& event);
using MouseDownCallback = void (*)(const FwEvent& event);
using ModeSwitchCallback = void (*)(const ModeChoice& mode, int windowed);
using ActivateCallback = void (*)(int active);
using SuspendCallback = int (*)(FwContext* context, int leavingOrReturning);

void fw_set_mode_filter(ModeFilter filter);
void fw_set_driver_options(const DriverOptions& options);
FwContext* fw_init(std::string_view title);
void fw_set_draw_callback(DrawCallback callback);
void fw_set_update_callback(UpdateCallback callback);
void fw_set_key_down_callback(KeyDownCallback callback);
void fw_set_mouse_down_callback(MouseDownCallback callback);
void fw_set_mode_switch_callback(ModeSwitchCallback callback);
void fw_set_activate_callback(ActivateCallback callback);
void fw_set_suspend_callback(SuspendCallback callback);
bool fw_choose_mode(ModeChoice* mode, int* windowed);
// What the mode dialog shows beside its own three lines, given by the game
// before fw_choose_mode (the framework knows no game's files or colours).
// Without it the dialog is plain background.
struct ModeDialogLook {
    std::string titlePicture;  // game path of the 231 x 272 picture, 8 bits
    std::string font;          // game path
    std::array<PaletteEntry, 256> palette{};  // the colours of the picture and the indices
    int textColour = 0;
    int background = 0;
};
void fw_set_mode_dialog_look(const ModeDialogLook& look);
int fw_set_mode(const ModeChoice& mode, int windowed, int pages, int systemMemory);
int fw_main_loop();
void fw_request_exit();

// A player's progress, kept by the platform where it can outlive the game (a
// browser page's storage): the text to continue from, empty for a new game,
// and the latest text to keep (empty: nothing left to continue).
std::string fw_saved_progress();
void fw_keep_progress(std::string_view text);
