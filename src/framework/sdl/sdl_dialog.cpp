#include "framework/sdl/sdl_dialog.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "framework/backend.h"
#include "framework/framework.h"
#include "framework/palette_colours.h"

namespace {

constexpr int kPictureWidth = 231;
constexpr int kPictureHeight = 272;
constexpr int kMargin = 12;
constexpr int kLineSpacing = 20;  // as the game spaces its own text lines

constexpr std::array<std::string_view, 3> kLines = {
    "Press RETURN to enter the maze",
    "Press ESC to exit.",
    "ESC during the Intro will start the game",
};

// The dialog's own 8-bit canvas, drawn once with the game's library calls.
struct DialogCanvas {
    std::vector<std::uint8_t> pixels;
    DrawContext context;
};

DialogCanvas drawDialog() {
    const ModeDialogLook& style = fw_mode_dialog_look();
    GfxBitmap* picture =
        style.titlePicture.empty() ? nullptr : gfx_load_bitmap(style.titlePicture, 1);
    GfxFont* font = style.font.empty() ? nullptr : gfx_load_font(style.font);
    gfx_result();  // a missing file is drawn around, not reported later

    int textWidth = 0;
    const int spacing = font ? std::max(kLineSpacing, gfx_font_height(font)) : kLineSpacing;
    if (font) {
        for (std::string_view line : kLines)
            textWidth = std::max(textWidth, gfx_font_text_width(font, line));
    }
    const int textLeft = kMargin + kPictureWidth + 2 * kMargin;

    DialogCanvas canvas;
    DrawContext& context = canvas.context;
    context.width = textWidth > 0 ? textLeft + textWidth + kMargin : 2 * kMargin + kPictureWidth;
    context.height = 2 * kMargin + kPictureHeight;
    context.bytesPerLine = context.width;
    context.clipRight = context.width - 1;
    context.clipBottom = context.height - 1;
    canvas.pixels.assign(static_cast<std::size_t>(context.width) * context.height,
                         static_cast<std::uint8_t>(style.background));
    context.pixels = canvas.pixels.data();

    if (picture && picture->bitsPerPixel == 8)
        gfx_put_bitmap(&context, kMargin, kMargin, picture, 0);
    if (textWidth > 0) {
        int y = kMargin + (kPictureHeight - spacing * static_cast<int>(kLines.size())) / 2;
        for (std::string_view line : kLines) {
            gfx_draw_text_to(context, font, textLeft, y, line, style.textColour);
            y += spacing;
        }
    }
    gfx_free_font(font);
    gfx_free_bitmap(picture);
    return canvas;
}

class DialogWindow {
public:
    ~DialogWindow() {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
    }

    bool open(const std::string& title, const DialogCanvas& canvas) {
        const DrawContext& context = canvas.context;
        window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  context.width, context.height, SDL_WINDOW_SHOWN);
        if (!window) return false;
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer) return false;
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                    context.width, context.height);
        if (!texture) return false;
        const std::array<PaletteEntry, 256>& palette = fw_mode_dialog_look().palette;
        std::vector<Uint32> argb(canvas.pixels.size());
        for (std::size_t i = 0; i < argb.size(); ++i) {
            const PaletteEntry& entry = palette[canvas.pixels[i]];
            argb[i] = palette_argb(entry);
        }
        SDL_UpdateTexture(texture, nullptr, argb.data(), context.width * 4);
        windowId = SDL_GetWindowID(window);
        SDL_RaiseWindow(window);
        return true;
    }

    void show() {
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Uint32 windowId = 0;
};

}  // namespace

bool sdl_run_mode_dialog(const std::string& title) {
    const DialogCanvas canvas = drawDialog();
    DialogWindow dialog;
    if (!dialog.open(title, canvas)) {
        std::fprintf(stderr, "SDL: cannot open the mode dialog: %s\n", SDL_GetError());
        return false;
    }
    dialog.show();
    for (;;) {
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, 100)) {
            // Redrawn now and then: not every system reports uncovering.
            dialog.show();
            continue;
        }
        switch (event.type) {
            case SDL_QUIT: return false;
            case SDL_KEYDOWN:
                if (event.key.repeat) break;
                if (event.key.keysym.scancode == SDL_SCANCODE_RETURN ||
                    event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER) {
                    // The game must not see the Return that closed the dialog.
                    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
                    return true;
                }
                if (event.key.keysym.scancode == SDL_SCANCODE_ESCAPE) return false;
                break;
            case SDL_WINDOWEVENT:
                if (event.window.windowID != dialog.windowId) break;
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED) dialog.show();
                break;
            default: break;
        }
    }
}
