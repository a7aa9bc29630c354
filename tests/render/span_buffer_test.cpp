// The span list update, case by case, and against a plain per-pixel model.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "render/span_buffer.h"

namespace {

using Runs = std::vector<std::pair<int, int>>;

Runs claim(SpanLine& line, int xs, int xe) {
    Runs painted;
    line.claim(xs, xe, [&](int first, int last) { painted.emplace_back(first, last); });
    return painted;
}

Runs freeSpans(const SpanLine& line) {
    Runs spans;
    for (int i = line.head; i != -1; i = line.spans[i].next) {
        spans.emplace_back(line.spans[i].first, line.spans[i].last);
    }
    return spans;
}

SpanLine freshLine() {
    SpanLine line;
    line.reset();
    return line;
}

}  // namespace

TEST(SpanLine, SplitThenOverlapPaintsOnlyFreePixels) {
    SpanLine line = freshLine();
    EXPECT_EQ(claim(line, 100, 200), (Runs{{100, 200}}));
    EXPECT_EQ(freeSpans(line), (Runs{{10, 99}, {201, 629}}));
    EXPECT_EQ(claim(line, 50, 300), (Runs{{50, 99}, {201, 300}}));
    EXPECT_EQ(freeSpans(line), (Runs{{10, 49}, {301, 629}}));
}

TEST(SpanLine, EachCaseOfTheUpdate) {
    SpanLine line = freshLine();
    claim(line, 100, 200);  // free [10, 99] [201, 629]

    // Touching a free span in one pixel paints that pixel, from either side.
    EXPECT_EQ(claim(line, 99, 150), (Runs{{99, 99}}));
    EXPECT_EQ(claim(line, 150, 201), (Runs{{201, 201}}));
    EXPECT_EQ(freeSpans(line), (Runs{{10, 98}, {202, 629}}));

    // Wholly on painted pixels: nothing.
    EXPECT_TRUE(claim(line, 120, 180).empty());
    // Starting before a span and ending inside it trims its front.
    EXPECT_EQ(claim(line, 150, 210), (Runs{{202, 210}}));
    // Starting at a span's first pixel and ending at its last unlinks it.
    EXPECT_EQ(claim(line, 10, 98), (Runs{{10, 98}}));
    EXPECT_EQ(freeSpans(line), (Runs{{211, 629}}));
    // Starting inside and running past the end trims its back.
    EXPECT_EQ(claim(line, 600, 700), (Runs{{600, 629}}));
    EXPECT_EQ(freeSpans(line), (Runs{{211, 599}}));
    // Before every span: nothing, the list unchanged.
    EXPECT_TRUE(claim(line, 0, 5).empty());
    EXPECT_EQ(freeSpans(line), (Runs{{211, 599}}));
}

TEST(SpanLine, CoveringSeveralWholeSpansUnlinksThemAll) {
    SpanLine line = freshLine();
    claim(line, 100, 149);
    claim(line, 161, 169);
    claim(line, 181, 200);  // free [10,99] [150,160] [170,180] [201,629]
    EXPECT_EQ(claim(line, 140, 190), (Runs{{150, 160}, {170, 180}}));
    EXPECT_EQ(freeSpans(line), (Runs{{10, 99}, {201, 629}}));
    EXPECT_EQ(claim(line, 0, 639), (Runs{{10, 99}, {201, 629}}));
    EXPECT_EQ(line.head, -1);
    EXPECT_TRUE(claim(line, 0, 639).empty());
}

// A line cut into more than 40 free spans carries on: unlinked records are
// reused, and 320 records cover the worst case of 310 one-pixel spans.
TEST(SpanLine, ManySplitsOnOneLineNeverRunOut) {
    SpanLine line = freshLine();
    for (int x = 11; x < 629; x += 2) EXPECT_EQ(claim(line, x, x), (Runs{{x, x}}));
    const Runs spans = freeSpans(line);
    EXPECT_EQ(spans.size(), 310u);
    EXPECT_EQ(spans.front(), (std::pair<int, int>{10, 10}));
    EXPECT_EQ(spans.back(), (std::pair<int, int>{628, 629}));
    // Fill everything, then split the (now empty) line's records again.
    claim(line, 0, 639);
    EXPECT_EQ(line.head, -1);
    for (int round = 0; round < 3; ++round) {
        line.reset();
        for (int x = 11; x < 629; x += 2) claim(line, x, x);
        EXPECT_EQ(freeSpans(line).size(), 310u);
    }
}

TEST(SpanLine, AgreesWithAPerPixelModel) {
    std::mt19937 random(1234);
    for (int trial = 0; trial < 200; ++trial) {
        SpanLine line = freshLine();
        std::vector<bool> free(640, false);
        for (int x = kViewLeft; x <= kViewRight; ++x) free[x] = true;
        for (int step = 0; step < 60; ++step) {
            int xs = static_cast<int>(random() % 640);
            int xe = xs + static_cast<int>(random() % 80);
            if (xe > 639) xe = 639;
            std::vector<bool> painted(640, false);
            line.claim(xs, xe, [&](int first, int last) {
                for (int x = first; x <= last; ++x) {
                    ASSERT_FALSE(painted[x]);
                    painted[x] = true;
                }
            });
            for (int x = 0; x < 640; ++x) {
                const bool expected = free[x] && x >= xs && x <= xe;
                ASSERT_EQ(painted[x], expected) << "trial " << trial << " x " << x;
                if (expected) free[x] = false;
            }
            // The list is exactly the free pixels, sorted and disjoint.
            int previousLast = -2;
            std::vector<bool> listed(640, false);
            for (const auto& [first, last] : freeSpans(line)) {
                ASSERT_GT(first, previousLast + 1);
                ASSERT_LE(first, last);
                for (int x = first; x <= last; ++x) listed[x] = true;
                previousLast = last;
            }
            ASSERT_EQ(listed, free);
            // anyFree answers for a window as the pixels do (what lets a
            // triangle with nothing free under it be skipped whole).
            const int left = static_cast<int>(random() % 640);
            const int right = std::min(639, left + static_cast<int>(random() % 40));
            bool anyPixelFree = false;
            for (int x = left; x <= right; ++x) anyPixelFree = anyPixelFree || free[x];
            ASSERT_EQ(line.anyFree(left, right), anyPixelFree) << left << ".." << right;
        }
    }
}
