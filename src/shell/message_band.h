#pragma once
// The message band under the view: the sought object's message scrolls up
// through it. The world keeps where the message stands (World::messageY,
// messageScrolling); the shell draws it and moves it on.

#include <cstdint>

class MessageBoard;
class World;

// The band's clip rectangle, the x of its text and the pace of the scroll.
struct MessageBand {
    static constexpr int kLeft = 47;
    static constexpr int kTop = 410;
    static constexpr int kRight = 592;
    static constexpr int kBottom = 468;
    static constexpr int kTextX = 50;
    static constexpr int kLineHeight = 20;
    static constexpr std::uint32_t kScrollStepMicroseconds = 50000;
};

// Draws the current message in the band and moves it up, at most 2 pixels
// per frame and one step per 50 ms on the framework's stopwatch; once the
// last line has left the band the scroll stops until the world restarts it.
void draw_message_band(World& world, MessageBoard& board);
