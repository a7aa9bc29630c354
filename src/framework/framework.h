#pragma once
// The game framework, the graphics library and the stopwatch: every operation
// the game calls on the platform. Nothing here shows an SDL type; the SDL
// backend and the headless backend (backend.h) sit behind the same calls.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// ---- Records exchanged with the framework --------------------------------

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kScreenPixels = kScreenWidth * kScreenHeight;

// Blue, green, red, then a byte that is ignored.
struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t unused = 0;
};

// Rows are stored top row first whatever their order in the file.
struct GfxBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::int32_t bytesPerLine = 0;
    std::uint8_t* pixels = nullptr;
    PaletteEntry* palette = nullptr;  // 256 entries when asked for, else null
    void* pixelFormat = nullptr;      // unused: every bitmap here is 8-bit
};

// The page the game draws into: 8-bit palette indices, 640 bytes per row.
// Text and bitmap drawing is clipped to the clip rectangle (inclusive).
struct DrawContext {
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerLine = 0;
    std::int32_t clipLeft = 0;
    std::int32_t clipTop = 0;
    std::int32_t clipRight = -1;
    std::int32_t clipBottom = -1;
};

// Its first member is the current drawing context; a mode switch may replace
// it, so the game reads it through here each time.
struct FwContext {
    DrawContext* drawContext = nullptr;
};

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

// A key-down event: the key's character in bits 0-7 and its PC set-1 scan
// code in bits 8-15 of the message word.
struct FwEvent {
    std::uint32_t message = 0;
};

inline int fw_event_scan_code(const FwEvent& event) {
    return static_cast<int>((event.message >> 8) & 0xFF);
}

// PC scan codes (set 1) the game uses.
namespace scan {
constexpr int kEscape = 1;
constexpr int k1 = 2;
constexpr int k2 = 3;
constexpr int k3 = 4;
constexpr int kT = 20;
constexpr int kEnter = 28;
constexpr int kF = 33;
constexpr int kN = 49;
constexpr int kM = 50;
constexpr int kAlt = 56;
constexpr int kSpace = 57;
constexpr int kF1 = 59;
constexpr int kF10 = 68;
constexpr int kHome = 71;
constexpr int kUp = 72;
constexpr int kPageUp = 73;
constexpr int kLeft = 75;
constexpr int kRight = 77;
constexpr int kEnd = 79;
constexpr int kDown = 80;
constexpr int kPageDown = 81;
constexpr int kDelete = 83;
}  // namespace scan

// Nonzero from key down to key up, indexed by scan code.
extern std::uint8_t keyState[256];

// ---- Framework -------------------------------------------------------------

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
void fw_set_palette(const PaletteEntry* entries, int count, int first);
void fw_realize_palette(int count, int first, int waitForRetrace);
void fw_swap_buffers(int waitForRetrace);
int fw_main_loop();
void fw_request_exit();

// The palette as last realized (256 entries); what the screen shows.
const PaletteEntry* fw_current_palette();

// A player's progress, kept by the platform where it can outlive the game (a
// browser page's storage): the text to continue from, empty for a new game,
// and the latest text to keep (empty: nothing left to continue).
std::string fw_saved_progress();
void fw_keep_progress(std::string_view text);

// ---- Graphics library ------------------------------------------------------

struct GfxFont;

[[noreturn]] void gfx_fatal_error(std::string_view text);
int gfx_result();
const char* gfx_error_message(int code);
int gfx_bitmap_info(std::string_view file);
GfxBitmap* gfx_load_bitmap(std::string_view file, int keepPalette);
void gfx_free_bitmap(GfxBitmap* bitmap);
void gfx_put_bitmap(DrawContext* context, int x, int y, const GfxBitmap* bitmap, int writeMode);
GfxFont* gfx_load_font(std::string_view file);
void gfx_free_font(GfxFont* font);
void gfx_use_font(GfxFont* font);
void gfx_set_color(int paletteIndex);
int gfx_text_width(std::string_view text);
void gfx_draw_text(int x, int y, std::string_view text);
void gfx_set_clip_rect(int left, int top, int right, int bottom);
void gfx_clear();
int gfx_key_down(int scanCode);
void gfx_begin_direct_access();
void gfx_end_direct_access();

// File names given to the loaders are game paths ('\' separators, relative to
// the data root): see files.h.

// Beyond the game's own needs: the mode dialog draws its own window with the
// font, krvtool check asks which characters it has, and the content tools
// write pictures. Text is decoded as text_decode.h says.
void gfx_draw_text_to(DrawContext& context, const GfxFont* font, int x, int y,
                      std::string_view text, int paletteIndex);
int gfx_font_text_width(const GfxFont* font, std::string_view text);
int gfx_font_height(const GfxFont* font);
// False for a character drawn as the replacement mark, and without a font.
bool gfx_font_has_glyph(const GfxFont* font, char32_t codePoint);
// Writes an 8-bit bitmap with the given 256-entry palette as a Windows BMP at
// a native path; false on failure.
bool gfx_save_bitmap(const std::string& nativePath, const GfxBitmap& bitmap,
                     const PaletteEntry* palette);

// ---- Stopwatch (unsigned 32-bit microseconds; differences wrap) -------------

void timer_start();
std::uint32_t timer_lap();
void timer_stop();
std::uint32_t timer_count();

// Microseconds of the platform clock, wrapping at 2^32.
std::uint32_t timer_now();
