#pragma once
// Carved capital lettering for the generated pictures: each letter is a few
// straight strokes on a 4 by 6 grid (rounds are cut as octagons, which suits
// stone). Text is turned into a distance field, so one call serves the fill,
// an outline and a glow: the caller picks the bands of distance it wants.

#include <cstddef>
#include <string_view>
#include <vector>

struct LetterStyle {
    float unitX = 4.0f;      // pixels per grid step across
    float unitY = 4.0f;      // pixels per grid step down (a letter is 6 steps high)
    float letterGap = 1.5f;  // grid steps between letters
    float slant = 0.0f;      // grid steps of lean per step of height (italic > 0)
};

// Width in pixels of the text set in the style, from the first letter's left
// edge to the last letter's right edge (strokes' thickness not included).
float letter_text_width(std::string_view text, const LetterStyle& style);

// Distance in pixels from each pixel centre of a width by height area to the
// nearest stroke of the text, whose grid origin (top left of the first
// letter) is at (originX, originY). Pixels farther than reach get reach.
// Letters without strokes (space, unknown ones) only advance.
std::vector<float> letter_distance_field(std::string_view text, const LetterStyle& style,
                                         float originX, float originY, int width, int height,
                                         float reach);

// One line of text laid on a width by height area, centred on centreX with
// the letters' top at `top`: its distance field and the letters' height.
struct LetteredLine {
    int width = 0;
    float top = 0.0f;
    float height = 0.0f;  // 6 grid steps
    std::vector<float> field;

    float distance(int x, int y) const { return field[static_cast<std::size_t>(y) * width + x]; }
    // 0 at the letters' top to 1 at their foot, for shading down them.
    float down(int y) const;
};
LetteredLine lay_letters(std::string_view text, const LetterStyle& style, float centreX, float top, int width,
                         int height, float reach);

// Coverage (0-1) of a stroke of the given width at a distance from its spine,
// with one pixel of anti-aliasing.
float stroke_coverage(float distance, float strokeWidth);
