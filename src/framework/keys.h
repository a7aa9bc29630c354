#pragma once
// Keys as the game sees them: PC set-1 scan codes, the key-down event and
// the state of every key.

#include <cstdint>

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

int gfx_key_down(int scanCode);
