#pragma once
// Per screen line, the pixel intervals no maze polygon has painted yet. The
// maze is drawn front to back and paints only free pixels, so each maze
// pixel is painted once and the nearest textured surface wins without any
// depth test.

#include <cstdint>
#include <memory>

#include "framework/screen.h"
#include "render/pixel_rect.h"

// One free interval of a line, both ends inclusive, with the index of the
// next interval of the same line (-1 at the end).
struct FreeSpan {
    std::int16_t first = 0;
    std::int16_t last = 0;
    std::int16_t next = -1;
};

// Columns free at the start of every frame: the width of the 3D view.
inline constexpr int kViewLeft = 10;
inline constexpr int kViewRight = 629;

// A line's records. Unlinked records go onto a free list and are handed out
// again, so a line needs at most one record per free interval: 620 pixels
// hold at most 310 disjoint free intervals with painted pixels between them,
// and the table below can never run out.
struct SpanLine {
    static constexpr int kRecords = 320;

    std::int16_t head = 0;   // first free interval, -1 when the line is full
    std::int16_t used = 1;   // records ever handed out this frame
    std::int16_t spare = -1; // first unlinked record ready for reuse, chained by next
    FreeSpan spans[kRecords];

    void reset() {
        spans[0] = {kViewLeft, kViewRight, -1};
        head = 0;
        used = 1;
        spare = -1;
    }

    // Whether any pixel of columns left..right is still free.
    bool anyFree(int left, int right) const {
        for (int i = head; i != -1; i = spans[i].next) {
            if (spans[i].last >= left) return spans[i].first <= right;
        }
        return false;
    }

    // Lays the closed segment xs..xe over the free intervals: calls
    // paint(first, last) for every part of it that lies on free pixels, left
    // to right, and removes those parts from the line. Invariant kept: the
    // free intervals stay sorted by x, disjoint and linked in that order.
    template <typename Paint>
    void claim(int xs, int xe, Paint&& paint);

private:
    void unlink(int prev, int index, int nextIndex) {
        if (prev == -1) {
            head = static_cast<std::int16_t>(nextIndex);
        } else {
            spans[prev].next = static_cast<std::int16_t>(nextIndex);
        }
        spans[index].next = spare;
        spare = static_cast<std::int16_t>(index);
    }
    int takeRecord();
};

class SpanBuffer {
public:
    SpanBuffer();

    // Every line back to one free interval, columns 10 to 629.
    void reset();

    SpanLine& line(int y) { return lines_[y]; }
    const SpanLine& line(int y) const { return lines_[y]; }

    // SpanLine::claim on line y, counting the line if this fills it.
    template <typename Paint>
    void claim(int y, int xs, int xe, Paint&& paint) {
        SpanLine& l = lines_[y];
        if (l.head == -1) return;
        l.claim(xs, xe, paint);
        if (l.head == -1) ++filledLines_;
    }
    // Lines that have had their last free pixel claimed since the reset.
    int filledLines() const { return filledLines_; }

    // Whether any pixel of the area is still free. A triangle of the maze
    // whose bounds have none would paint nothing, line after line.
    bool anyFree(const PixelRect& area) const {
        for (int y = area.top; y <= area.bottom; ++y) {
            if (lines_[y].anyFree(area.left, area.right)) return true;
        }
        return false;
    }

private:
    std::unique_ptr<SpanLine[]> lines_;  // kScreenHeight lines
    int filledLines_ = 0;
};

// Only reached if the bound above were wrong: ends the program.
[[noreturn]] void spanTableExhausted();

inline int SpanLine::takeRecord() {
    if (spare != -1) {
        const int index = spare;
        spare = spans[index].next;
        return index;
    }
    if (used >= kRecords) spanTableExhausted();
    return used++;
}

template <typename Paint>
void SpanLine::claim(int xs, int xe, Paint&& paint) {
    int a = xs;  // first pixel of the segment not yet dealt with
    int prev = -1;
    int index = head;
    while (index != -1) {
        FreeSpan& span = spans[index];
        const int s = span.first;
        const int e = span.last;
        const int nx = span.next;
        if (a < s) {
            if (xe < s) return;
            if (xe > e) {
                paint(s, e);
                unlink(prev, index, nx);
                a = e + 1;
                index = nx;
                continue;
            }
            paint(s, xe);
            if (xe == e) {
                unlink(prev, index, nx);
            } else {
                span.first = static_cast<std::int16_t>(xe + 1);
            }
            return;
        }
        if (a > e) {
            prev = index;
            index = nx;
            continue;
        }
        // s <= a <= e
        if (xe > e) {
            paint(a, e);
            if (a == s) {
                unlink(prev, index, nx);
            } else {
                span.last = static_cast<std::int16_t>(a - 1);
                prev = index;
            }
            a = e + 1;
            index = nx;
            continue;
        }
        paint(a, xe);
        if (a == s) {
            if (xe == e) {
                unlink(prev, index, nx);
            } else {
                span.first = static_cast<std::int16_t>(xe + 1);
            }
        } else {
            span.last = static_cast<std::int16_t>(a - 1);
            if (xe < e) {
                const int split = takeRecord();
                spans[split] = {static_cast<std::int16_t>(xe + 1), static_cast<std::int16_t>(e),
                                static_cast<std::int16_t>(nx)};
                spans[index].next = static_cast<std::int16_t>(split);
            }
        }
        return;
    }
}
