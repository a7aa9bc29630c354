// Browser keys reach the game as the same scan codes and characters as the
// desktop's, by physical key, with the same shaping of repeats and shared codes.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "framework/sdl/sdl_keys.h"
#include "framework/web/web_keys.h"

namespace {

// KeyboardEvent.code names beside the USB HID usage of the same physical key
// (which is the desktop's key number): the two tables must agree key by key.
struct SameKey {
    std::string_view code;
    int usage;
};

constexpr SameKey kSameKeys[] = {
    {"KeyA", 4},          {"KeyM", 16},         {"KeyN", 17},         {"KeyT", 23},
    {"KeyW", 26},         {"KeyZ", 29},         {"Digit1", 30},       {"Digit3", 32},
    {"Digit0", 39},       {"Enter", 40},        {"Escape", 41},       {"Backspace", 42},
    {"Tab", 43},          {"Space", 44},        {"Minus", 45},        {"Equal", 46},
    {"BracketLeft", 47},  {"BracketRight", 48}, {"Backslash", 49},    {"Semicolon", 51},
    {"Quote", 52},        {"Backquote", 53},    {"Comma", 54},        {"Period", 55},
    {"Slash", 56},        {"CapsLock", 57},     {"F1", 58},           {"F10", 67},
    {"F12", 69},          {"ScrollLock", 71},   {"Insert", 73},       {"Home", 74},
    {"PageUp", 75},       {"Delete", 76},       {"End", 77},          {"PageDown", 78},
    {"ArrowRight", 79},   {"ArrowLeft", 80},    {"ArrowDown", 81},    {"ArrowUp", 82},
    {"NumLock", 83},      {"NumpadDivide", 84}, {"NumpadMultiply", 85}, {"NumpadSubtract", 86},
    {"NumpadAdd", 87},    {"NumpadEnter", 88},  {"Numpad1", 89},      {"Numpad8", 96},
    {"Numpad0", 98},      {"NumpadDecimal", 99}, {"ControlLeft", 224}, {"ShiftLeft", 225},
    {"AltLeft", 226},     {"ControlRight", 228}, {"ShiftRight", 229}, {"AltRight", 230},
};

TEST(WebKeys, EveryKeyGivesTheDesktopsScanCodeAndCharacter) {
    for (const SameKey& key : kSameKeys) {
        const WebKey web = web_key(key.code);
        EXPECT_EQ(web.scanCode, pc_scan_code(key.usage)) << key.code;
        EXPECT_EQ(web.character, key_character(key.usage)) << key.code;
        EXPECT_NE(web.scanCode, 0) << key.code;
    }
    // Layout-independent names only: the letter a layout prints is no code.
    EXPECT_EQ(web_key("w").scanCode, 0);
    EXPECT_EQ(web_key("").scanCode, 0);
    EXPECT_EQ(web_key("Lang1").scanCode, 0);
}

TEST(WebKeys, TheGamesKeysHoldTheBrowserBackButNotItsOwn) {
    for (std::string_view games : {"ArrowUp", "ArrowDown", "Space", "F1", "F10", "Tab",
                                   "Backspace", "PageDown", "Escape", "Digit2"}) {
        EXPECT_TRUE(web_key_is_games(games)) << games;
    }
    // Reload, the browser's full screen and its tools stay the player's.
    for (std::string_view browsers : {"F5", "F11", "F12", "Lang1", ""}) {
        EXPECT_FALSE(web_key_is_games(browsers)) << browsers;
    }
}

TEST(WebKeys, RepeatsAreDroppedAndSharedCodesGoUpWithTheLastKey) {
    WebKeyState keys;
    EXPECT_EQ(keys.keyDown("ArrowUp", false), 72);
    EXPECT_EQ(keys.keyDown("ArrowUp", true), 0);   // the browser's auto-repeat
    EXPECT_EQ(keys.keyDown("Numpad8", false), 72);  // same code, another key
    EXPECT_EQ(keys.keyUp("ArrowUp"), 0);            // Numpad8 still holds 72
    EXPECT_EQ(keys.keyUp("Numpad8"), 72);
    EXPECT_EQ(keys.keyUp("Numpad8"), 0);            // an up without a down
    EXPECT_EQ(keys.keyDown("Lang1", false), 0);

    // Losing the focus lets go of every held code once.
    keys.keyDown("ArrowLeft", false);
    keys.keyDown("Numpad4", false);
    keys.keyDown("Space", false);
    std::vector<int> ups;
    keys.releaseAll([&](int code) { ups.push_back(code); });
    EXPECT_EQ(ups, (std::vector<int>{57, 75}));
    EXPECT_EQ(keys.keyUp("Space"), 0);
    EXPECT_EQ(keys.keyDown("Space", false), 57);
}

}  // namespace
