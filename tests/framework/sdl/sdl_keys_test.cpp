#include "framework/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include "framework/framework.h"

namespace {

// USB HID keyboard usages, which SDL's scancodes are.
namespace hid {
constexpr int kA = 4;
constexpr int kF = 9;
constexpr int kL = 15;
constexpr int kM = 16;
constexpr int kN = 17;
constexpr int kP = 19;
constexpr int kQ = 20;
constexpr int kT = 23;
constexpr int kZ = 29;
constexpr int k1 = 30;
constexpr int k0 = 39;
constexpr int kReturn = 40;
constexpr int kEscape = 41;
constexpr int kBackspace = 42;
constexpr int kTab = 43;
constexpr int kSpace = 44;
constexpr int kF1 = 58;
constexpr int kF10 = 67;
constexpr int kF11 = 68;
constexpr int kF12 = 69;
constexpr int kInsert = 73;
constexpr int kHome = 74;
constexpr int kPageUp = 75;
constexpr int kDelete = 76;
constexpr int kEnd = 77;
constexpr int kPageDown = 78;
constexpr int kRight = 79;
constexpr int kLeft = 80;
constexpr int kDown = 81;
constexpr int kUp = 82;
constexpr int kKeypadEnter = 88;
constexpr int kKeypad1 = 89;  // keypad 1-9 follow in order, then 0 and the period
constexpr int kKeypad0 = 98;
constexpr int kKeypadPeriod = 99;
constexpr int kLeftCtrl = 224;
constexpr int kLeftShift = 225;
constexpr int kLeftAlt = 226;
constexpr int kRightCtrl = 228;
constexpr int kRightShift = 229;
constexpr int kRightAlt = 230;
}  // namespace hid

}  // namespace

TEST(PcScanCode, DigitsAndLetterRows) {
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(pc_scan_code(hid::k1 + digit), 2 + digit) << "digit key " << digit;
    }
    EXPECT_EQ(pc_scan_code(hid::k0), 11);
    EXPECT_EQ(pc_scan_code(hid::k1), scan::k1);
    EXPECT_EQ(pc_scan_code(hid::k1 + 2), scan::k3);

    // Letters by row as set 1 numbers them; HID numbers them alphabetically.
    const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const int firstCodes[] = {16, 30, 44};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; rows[row][i] != 0; ++i) {
            const char letter = rows[row][i];
            const int usage = hid::kA + (letter - 'a');
            EXPECT_EQ(pc_scan_code(usage), firstCodes[row] + i) << letter;
            EXPECT_EQ(key_character(usage), letter);
        }
    }
    EXPECT_EQ(pc_scan_code(hid::kQ), 16);
    EXPECT_EQ(pc_scan_code(hid::kP), 25);
    EXPECT_EQ(pc_scan_code(hid::kL), 38);
    EXPECT_EQ(pc_scan_code(hid::kZ), 44);
    EXPECT_EQ(pc_scan_code(hid::kT), scan::kT);
    EXPECT_EQ(pc_scan_code(hid::kF), scan::kF);
    EXPECT_EQ(pc_scan_code(hid::kN), scan::kN);
    EXPECT_EQ(pc_scan_code(hid::kM), scan::kM);
}

TEST(PcScanCode, ControlAndFunctionKeys) {
    EXPECT_EQ(pc_scan_code(hid::kEscape), scan::kEscape);
    EXPECT_EQ(pc_scan_code(hid::kReturn), scan::kEnter);
    EXPECT_EQ(pc_scan_code(hid::kKeypadEnter), scan::kEnter);
    EXPECT_EQ(pc_scan_code(hid::kSpace), scan::kSpace);
    EXPECT_EQ(pc_scan_code(hid::kTab), 15);
    EXPECT_EQ(pc_scan_code(hid::kBackspace), 14);
    EXPECT_EQ(pc_scan_code(hid::kLeftAlt), scan::kAlt);
    EXPECT_EQ(pc_scan_code(hid::kRightAlt), scan::kAlt);
    EXPECT_EQ(pc_scan_code(hid::kLeftCtrl), 29);
    EXPECT_EQ(pc_scan_code(hid::kRightCtrl), 29);
    EXPECT_EQ(pc_scan_code(hid::kLeftShift), 42);
    EXPECT_EQ(pc_scan_code(hid::kRightShift), 54);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(pc_scan_code(hid::kF1 + i), scan::kF1 + i) << "F" << i + 1;
    EXPECT_EQ(pc_scan_code(hid::kF10), scan::kF10);
    EXPECT_EQ(pc_scan_code(hid::kF11), 87);
    EXPECT_EQ(pc_scan_code(hid::kF12), 88);

    EXPECT_EQ(key_character(hid::kReturn), 13);
    EXPECT_EQ(key_character(hid::kEscape), 27);
    EXPECT_EQ(key_character(hid::kSpace), ' ');
    EXPECT_EQ(key_character(hid::k1), '1');
    EXPECT_EQ(key_character(hid::kF1), 0);
    EXPECT_EQ(key_character(hid::kUp), 0);
}

TEST(PcScanCode, ArrowBlockAndKeypadShareCodes) {
    struct Pair {
        int arrowBlock;
        int keypadDigit;  // 1-9, or 0
        int code;
    };
    const Pair pairs[] = {
        {hid::kHome, 7, scan::kHome},
        {hid::kUp, 8, scan::kUp},
        {hid::kPageUp, 9, scan::kPageUp},
        {hid::kLeft, 4, scan::kLeft},
        {hid::kRight, 6, scan::kRight},
        {hid::kEnd, 1, scan::kEnd},
        {hid::kDown, 2, scan::kDown},
        {hid::kPageDown, 3, scan::kPageDown},
        {hid::kInsert, 0, 82},
    };
    for (const Pair& pair : pairs) {
        const int keypad =
            pair.keypadDigit == 0 ? hid::kKeypad0 : hid::kKeypad1 + pair.keypadDigit - 1;
        EXPECT_EQ(pc_scan_code(pair.arrowBlock), pair.code);
        EXPECT_EQ(pc_scan_code(keypad), pair.code) << "keypad " << pair.keypadDigit;
    }
    EXPECT_EQ(pc_scan_code(hid::kDelete), scan::kDelete);
    EXPECT_EQ(pc_scan_code(hid::kKeypadPeriod), scan::kDelete);
    EXPECT_EQ(pc_scan_code(hid::kKeypad1 + 4), 76);  // keypad 5
}

TEST(PcScanCode, UnknownAndOutOfRangeGiveZero) {
    EXPECT_EQ(pc_scan_code(0), 0);
    EXPECT_EQ(pc_scan_code(-1), 0);
    EXPECT_EQ(pc_scan_code(100000), 0);
    EXPECT_EQ(key_character(-1), 0);
    EXPECT_EQ(pc_scan_code(127), 0);  // HID "mute"
}
