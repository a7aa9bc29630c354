#pragma once
// The game's window: a resizable 640x480 window or desktop full screen, an
// SDL renderer and a streaming texture that shows the 8-bit page through
// the 256-entry palette, scaled by fit_page with black bars.

#include <array>
#include <cstdint>
#include <string>

#include "framework/screen.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

class SdlScreen {
public:
    SdlScreen() = default;
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;
    ~SdlScreen() { close(); }

    // Creates the window centred on the desktop; false (with the reason on
    // stderr) when the window, the renderer or the texture cannot be made.
    bool open(const std::string& title, bool windowed);
    // Leaves full screen and destroys texture, renderer and window; safe to
    // call when nothing is open.
    void close();
    bool isOpen() const { return window_ != nullptr; }

    // Converts and shows one page; with vsync granted this may block until
    // the next retrace, never longer than a refresh.
    void present(const std::uint8_t* pixels, const PaletteEntry* palette);

    // Switches between a 640x480 window and desktop full screen; false when
    // the system refused, the mode then being unchanged.
    bool setWindowed(bool windowed);
    bool windowed() const { return windowed_; }
    std::uint32_t windowId() const { return windowId_; }
    SDL_Window* window() const { return window_; }

private:
    // The page enlarged `scale` times with nearest-pixel sampling, ready to
    // be reduced smoothly; none when the renderer cannot draw into textures.
    SDL_Texture* sharpTexture(int scale);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* sharp_ = nullptr;  // lazily made for fractional sizes
    int sharpScale_ = 0;
    std::uint32_t windowId_ = 0;
    bool windowed_ = true;
    std::array<std::uint32_t, 256> colours_{};  // ARGB8888 of each palette entry
};
