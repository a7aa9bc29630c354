#include "shell/message_band.h"

#include "framework/framework.h"
#include "logic/message_board.h"
#include "logic/world.h"

void draw_message_band(World& world, MessageBoard& board) {
    if (world.messageScrolling == 0) return;
    constexpr int kLine = MessageBand::kLineHeight;
    const std::int32_t lines = board.currentLineCount();
    gfx_set_clip_rect(MessageBand::kLeft, MessageBand::kTop, MessageBand::kRight,
                      MessageBand::kBottom);
    // The current line returns to the first after the last, so every frame
    // starts drawing with line 0.
    for (std::int32_t i = 0; i < lines; ++i) {
        gfx_draw_text(MessageBand::kTextX, world.messageY + kLine * i, board.currentLineText());
        board.advanceLine();
    }
    if (timer_lap() >= MessageBand::kScrollStepMicroseconds) {
        timer_stop();
        timer_start();
        world.messageY -= 2;
        if (world.messageY < MessageBand::kTop - kLine * lines) world.messageScrolling = 0;
    }
    gfx_set_clip_rect(0, 0, kScreenWidth, kScreenHeight);
}
