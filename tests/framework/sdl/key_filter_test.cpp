#include "framework/sdl/key_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/framework.h"

namespace {

// USB HID keyboard usages, which SDL's scancodes are.
constexpr int kHidF1 = 58;
constexpr int kHidUp = 82;
constexpr int kHidKeypad8 = 96;
constexpr int kHidA = 4;
constexpr int kHidNoCode = 0;

}  // namespace

TEST(KeyFilter, RepeatsAreDroppedAndSharedCodesGoUpWithTheLastKey) {
    KeyFilter keys;
    EXPECT_EQ(keys.keyDown(kHidF1, false), scan::kF1);
    EXPECT_EQ(keys.keyDown(kHidF1, true), 0);  // held F1 must not toggle help again
    EXPECT_EQ(keys.keyDown(kHidF1, true), 0);
    EXPECT_EQ(keys.keyUp(kHidF1), scan::kF1);

    // The arrow and the keypad's 8 are both Up: it stays held until both are up.
    EXPECT_EQ(keys.keyDown(kHidUp, false), scan::kUp);
    EXPECT_EQ(keys.keyDown(kHidKeypad8, false), scan::kUp);
    EXPECT_EQ(keys.keyUp(kHidUp), 0);
    EXPECT_EQ(keys.keyUp(kHidKeypad8), scan::kUp);

    EXPECT_EQ(keys.keyDown(kHidNoCode, false), 0);
    EXPECT_EQ(keys.keyDown(-1, false), 0);
    EXPECT_EQ(keys.keyUp(KeyFilter::kScancodes), 0);
}

// The rule the browser's keys always had, now the desktop's too: a second
// down without an up, or an up for a key that never went down (held before
// the window had the focus), reaches the game as nothing.
TEST(KeyFilter, ADoubledDownOrAnUpWithoutADownSendsNothing) {
    KeyFilter keys;
    EXPECT_EQ(keys.keyDown(kHidF1, false), scan::kF1);
    EXPECT_EQ(keys.keyDown(kHidF1, false), 0);
    EXPECT_EQ(keys.keyUp(kHidA), 0);
    EXPECT_EQ(keys.keyUp(kHidF1), scan::kF1);
    EXPECT_EQ(keys.keyUp(kHidF1), 0);
}

TEST(KeyFilter, ReleaseAllSendsEachHeldCodeOnce) {
    KeyFilter keys;
    keys.keyDown(kHidUp, false);
    keys.keyDown(kHidKeypad8, false);
    keys.keyDown(kHidA, false);
    std::vector<int> sent;
    keys.releaseAll([&](int code) { sent.push_back(code); });
    EXPECT_EQ(sent, (std::vector<int>{30, scan::kUp}));
    sent.clear();
    keys.releaseAll([&](int code) { sent.push_back(code); });
    EXPECT_TRUE(sent.empty());
}
