#include "logic/message_board.h"

void MessageBoard::addMessageLine(std::string_view text) {
    Message& message = messages[messageCount];
    if (message.lineCount >= Message::kMaxLines) return;
    message.lines[message.lineCount] = std::string(text);
    ++message.lineCount;
}

void MessageBoard::endMessage() {
    if (messageCount < kMaxCounted) ++messageCount;
}

void MessageBoard::nextMessage() {
    ++currentMessage;
    if (currentMessage >= messageCount) currentMessage = 0;
}

std::int32_t MessageBoard::currentLineCount() const {
    if (currentMessage < 0 || currentMessage >= kCapacity) return 0;
    return messages[currentMessage].lineCount;
}

std::string_view MessageBoard::currentLineText() const {
    if (currentMessage < 0 || currentMessage >= kCapacity) return {};
    const Message& message = messages[currentMessage];
    if (message.currentLine < 0 || message.currentLine >= message.lineCount) return {};
    return message.lines[message.currentLine];
}

void MessageBoard::advanceLine() {
    if (currentMessage < 0 || currentMessage >= kCapacity) return;
    Message& message = messages[currentMessage];
    ++message.currentLine;
    if (message.currentLine >= message.lineCount) message.currentLine = 0;
}
