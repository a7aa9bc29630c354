// krvtool present-bench: the cost of showing one finished page in the game's
// window, apart from drawing it (krvtool bench times the drawing alone).
//
// One game frame is drawn headless to have a real page and palette; then the
// window is opened through the SDL backend and that page is presented
// kPresents times, each timed. Needs a display; SDL_VIDEODRIVER=dummy or
// offscreen (asked for by name) or an X server such as Xvfb will do. With a
// vsync-capable renderer each present may wait for the retrace, which is then
// what the figure shows.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "framework/backend.h"
#include "framework/framework.h"
#include "framework/sdl/sdl_backend.h"
#include "render/render_session.h"

namespace {

constexpr const char* kUsage = "present-bench [DIR]";
constexpr int kPresents = 500;

int presentBench(std::span<char*> args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: krvtool %s\n", kUsage);
        return 2;
    }
    std::vector<std::uint8_t> page(kScreenPixels);
    std::array<PaletteEntry, 256> palette{};
    {
        RenderSession session(args.empty() ? std::string() : std::string(args[0]));
        session.drawFrame();
        std::copy_n(session.page(), kScreenPixels, page.begin());
        std::copy_n(session.palette(), palette.size(), palette.begin());
    }

    fw_reset();
    fw_use_sdl_backend();
    FwContext* context = fw_init("Keravon");
    ModeChoice mode;
    mode.width = kScreenWidth;
    mode.height = kScreenHeight;
    mode.bitsPerPixel = 8;
    if (!context || !fw_set_mode(mode, 1, 2, 1) || !context->drawContext ||
        !context->drawContext->pixels) {
        std::fprintf(stderr, "krvtool present-bench: no window (%s)\n",
                     gfx_error_message(gfx_result()));
        fw_backend().shutdown();
        return 1;
    }
    std::copy(page.begin(), page.end(), context->drawContext->pixels);
    fw_set_palette(palette.data(), 256, 0);
    fw_realize_palette(256, 0, 0);

    for (int i = 0; i < 20; ++i) fw_swap_buffers(1);
    std::vector<double> micros;
    micros.reserve(kPresents);
    for (int i = 0; i < kPresents; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fw_swap_buffers(1);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double fraction) {
        return micros[static_cast<std::size_t>(fraction * static_cast<double>(micros.size() - 1))];
    };
    std::printf("present-bench: %d presents of 640x480 through SDL\n", kPresents);
    std::printf("present: min_us=%.1f median_us=%.1f p99_us=%.1f\n", micros.front(), at(0.5),
                at(0.99));
    fw_backend().shutdown();
    fw_reset();
    return 0;
}

const CommandRegistration registration("present-bench", kUsage, presentBench);

}  // namespace
