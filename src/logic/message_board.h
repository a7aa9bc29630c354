#pragma once
// The messages of the objects: message k belongs to object slot k and
// scrolls through the band at the bottom of the screen while that object is
// sought. Fixed capacities, filled once at load, nothing allocated later
// but the line copies made while loading.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct Message {
    static constexpr int kLineCapacity = 20;  // places; at most 19 are used
    static constexpr int kMaxLines = 19;

    std::array<std::string, kLineCapacity> lines;
    std::int32_t lineCount = 0;
    std::int32_t currentLine = 0;
};

class MessageBoard {
public:
    static constexpr int kCapacity = 20;
    // A 20th message is stored but never counted, so never shown.
    static constexpr int kMaxCounted = 19;

    // Appends a line to the message being read; lines past the 19th of a
    // message are dropped.
    void addMessageLine(std::string_view text);
    // Closes the message being read.
    void endMessage();
    // The next message, back to the first after the last.
    void nextMessage();

    // Of the current message: its line count, its current line, and moving
    // on to the next line (back to the first after the last).
    std::int32_t currentLineCount() const;
    std::string_view currentLineText() const;
    void advanceLine();

    std::array<Message, kCapacity> messages;
    std::int32_t currentMessage = 0;
    std::int32_t messageCount = 0;
};
