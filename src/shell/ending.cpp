#include "shell/ending.h"

#include <utility>

#include "framework/framework.h"
#include "shell/ending_file.h"
#include "shell/game.h"

namespace {

// Lines this far above the top may still reach into the screen; anything
// higher is not drawn, so a long ending costs no more per frame than a short
// one. Generous for any font.
constexpr std::int64_t kTallestLine = 256;

}  // namespace

void EndingText::draw() const {
    const std::int64_t top = scrollY;
    std::size_t first = 0;
    if (top < -kTallestLine) first = static_cast<std::size_t>((-kTallestLine - top) / kLineSpacing);
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::int64_t y = top + std::int64_t{kLineSpacing} * static_cast<std::int64_t>(i);
        if (y >= kScreenHeight) break;
        // C++ division truncates toward zero, as the centring wants.
        const int x = kScreenWidth / 2 - gfx_text_width(lines[i]) / 2;
        gfx_draw_text(x, static_cast<int>(y), lines[i]);
    }
}

bool EndingText::scroll() {
    scrollY -= kStep;
    const std::int64_t gone =
        -std::int64_t{kLineSpacing} * static_cast<std::int64_t>(lines.size()) - 40;
    return scrollY < gone;
}

void loadEnding() {
    EndingText& ending = game().ending;
    EndingFileContent content = readEndingFile();
    ending.lines = std::move(content.lines);
    ending.opened = content.opened;
    ending.scrollY = EndingText::kStartY;
}

void draw_ending_frame() {
    EndingText& ending = game().ending;
    gfx_clear();
    ending.draw();
    if (!ending.opened) {
        fw_request_exit();
    } else if (timer_lap() >= EndingText::kStepMicroseconds) {
        timer_stop();
        timer_start();
        if (ending.scroll()) fw_request_exit();
    }
    fw_swap_buffers(1);
}
