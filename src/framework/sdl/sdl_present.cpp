#include "framework/sdl/sdl_present.h"

#include <SDL.h>

#include <cstdio>

#include "framework/page_fit.h"
#include "framework/palette_colours.h"

namespace {

void centreWindowedSize(SDL_Window* window) {
    SDL_SetWindowSize(window, kScreenWidth, kScreenHeight);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

}  // namespace

bool SdlScreen::open(const std::string& title, bool windowed) {
    close();
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth, kScreenHeight, flags);
    if (!window_) {
        std::fprintf(stderr, "SDL: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    windowId_ = SDL_GetWindowID(window_);
    windowed_ = windowed;
    // Vsync is asked for to avoid tearing but never counted on: the loop is
    // paced by its own clock, and many systems ignore the request silently.
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        std::fprintf(stderr, "SDL: cannot create a renderer: %s\n", SDL_GetError());
        close();
        return false;
    }
    // Whole-number scales stay sharp with nearest-pixel sampling.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) {
        std::fprintf(stderr, "SDL: cannot create the page texture: %s\n", SDL_GetError());
        close();
        return false;
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
}

void SdlScreen::close() {
    if (sharp_) SDL_DestroyTexture(sharp_);
    sharp_ = nullptr;
    sharpScale_ = 0;
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) {
        if (!windowed_) SDL_SetWindowFullscreen(window_, 0);
        SDL_DestroyWindow(window_);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    windowId_ = 0;
    windowed_ = true;
}

void SdlScreen::present(const std::uint8_t* pixels, const PaletteEntry* palette) {
    if (!texture_ || !pixels || !palette) return;
    for (int i = 0; i < 256; ++i) {
        colours_[i] = palette_argb(palette[i]);
    }
    void* raw = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &raw, &pitch) != 0) return;
    for (int y = 0; y < kScreenHeight; ++y) {
        const std::uint8_t* source = pixels + y * kScreenWidth;
        auto* target = reinterpret_cast<Uint32*>(static_cast<Uint8*>(raw) + y * pitch);
        for (int x = 0; x < kScreenWidth; ++x) target[x] = colours_[source[x]];
    }
    SDL_UnlockTexture(texture_);

    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return;
    const PageRect fit = fit_page(outputWidth, outputHeight);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (fit.width > 0 && fit.height > 0) {
        const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
        SDL_Texture* const sharp = fit.sharpScale > 0 ? sharpTexture(fit.sharpScale) : nullptr;
        if (sharp && SDL_SetRenderTarget(renderer_, sharp) == 0) {
            SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
            SDL_SetRenderTarget(renderer_, nullptr);
            SDL_RenderCopy(renderer_, sharp, nullptr, &target);
        } else {
            SDL_RenderCopy(renderer_, texture_, nullptr, &target);
        }
    }
    SDL_RenderPresent(renderer_);
}

SDL_Texture* SdlScreen::sharpTexture(int scale) {
    if (sharp_ && sharpScale_ == scale) return sharp_;
    if (sharp_) SDL_DestroyTexture(sharp_);
    sharp_ = nullptr;
    sharpScale_ = 0;
    if (!SDL_RenderTargetSupported(renderer_)) return nullptr;
    sharp_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                               kScreenWidth * scale, kScreenHeight * scale);
    if (!sharp_) return nullptr;
    SDL_SetTextureScaleMode(sharp_, SDL_ScaleModeLinear);
    sharpScale_ = scale;
    return sharp_;
}

bool SdlScreen::setWindowed(bool windowed) {
    if (!window_) return false;
    if (windowed == windowed_) return true;
    if (!windowed) {
        // A maximised window is restored first so that leaving full screen
        // later comes back to a plain window.
        if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(window_);
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            std::fprintf(stderr, "SDL: cannot enter full screen: %s\n", SDL_GetError());
            return false;
        }
    } else {
        if (SDL_SetWindowFullscreen(window_, 0) != 0) {
            std::fprintf(stderr, "SDL: cannot leave full screen: %s\n", SDL_GetError());
            return false;
        }
        if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(window_);
        centreWindowedSize(window_);
    }
    windowed_ = windowed;
    return true;
}
