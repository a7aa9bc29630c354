// border1.bmp: a bevelled slate frame around the 3D view with a recessed
// message panel below it and brass fittings in the corners.
#include <algorithm>
#include <cmath>

#include "framework/screen.h"
#include "pictures/pictures.h"

namespace {

using namespace frame_layout;

const Rgb kSlate = rgb(74, 82, 98);
const Rgb kSlateLight = rgb(190, 198, 214);
const Rgb kShadow = rgb(0, 0, 0);
const Rgb kBrass = rgb(196, 150, 64);
const Rgb kBrassDark = rgb(92, 62, 20);

// The message panel: its recess encloses the band's clip rectangle with a
// margin, so no bevel light ever sits under the text.
constexpr int kPanelLeft = kBandLeft - 6;
constexpr int kPanelTop = kBandTop - 5;
constexpr int kPanelRight = kBandRight + 6;
constexpr int kPanelBottom = kBandBottom + 6;
constexpr int kRecess = 4;

void paintStone(RgbCanvas& canvas) {
    canvas.verticalGradient(0, 0, kScreenWidth - 1, kScreenHeight - 1, rgb(84, 92, 108),
                            rgb(60, 66, 80));
    canvas.grain(0, 0, kScreenWidth - 1, kScreenHeight - 1, 0.8f, 11);
    // Fine horizontal brushing, as on worn metal.
    for (int y = 0; y < kScreenHeight; ++y) {
        const float streak = 0.06f * (hash_noise(0, y, 12) - 0.5f);
        for (int x = 0; x < kScreenWidth; ++x)
            canvas.set(x, y, scaled(canvas.get(x, y), 1.0f + streak));
    }
    canvas.bevel(0, 0, kScreenWidth - 1, kScreenHeight - 1, 3, kSlateLight, kShadow, 0.7f);
}

void paintViewOpening(RgbCanvas& canvas) {
    // A recessed lip just outside the view: shadow above and left, a lit
    // edge below and right, then the opening itself in black (the maze
    // paints over it every frame).
    canvas.bevel(kViewLeft - 4, kViewTop - 4, kViewRight + 4, kViewBottom + 4, 4, kShadow,
                 kSlateLight, 0.75f);
    canvas.fillRect(kViewLeft, kViewTop, kViewRight, kViewBottom, rgb(0, 0, 0));
}

void paintMessagePanel(RgbCanvas& canvas) {
    canvas.bevel(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, kRecess, kShadow, kSlateLight,
                 0.75f);
    const int left = kPanelLeft + kRecess;
    const int top = kPanelTop + kRecess;
    const int right = kPanelRight - kRecess;
    const int bottom = kPanelBottom - kRecess;
    // Deep blue glass in one exact cube colour (a dithered dark shade would
    // crawl behind the scrolling text), shadowed along the top and left by
    // the recess, with a faint lit line near the bottom edge.
    canvas.fillRect(left, top, right, bottom, rgb(0, 0, 51));
    canvas.fillRect(left, top, right, top + 1, rgb(0, 0, 0));
    canvas.fillRect(left, top, left + 1, bottom, rgb(0, 0, 0));
    canvas.fillRect(left + 8, bottom - 1, right - 8, bottom - 1, rgb(51, 51, 102));
}

// A medallion between the panel and the screen edge: a ring around a small
// square labyrinth, set in a round recess.
void paintMedallion(RgbCanvas& canvas, float centreX, float centreY) {
    const float radius = 14.0f;
    for (int y = static_cast<int>(centreY - radius - 2);
         y <= static_cast<int>(centreY + radius + 2); ++y) {
        for (int x = static_cast<int>(centreX - radius - 2);
             x <= static_cast<int>(centreX + radius + 2); ++x) {
            const float dx = static_cast<float>(x) + 0.5f - centreX;
            const float dy = static_cast<float>(y) + 0.5f - centreY;
            const float distance = std::sqrt(dx * dx + dy * dy);
            const float inside = std::clamp(radius + 0.5f - distance, 0.0f, 1.0f);
            canvas.blend(x, y, rgb(14, 16, 26), inside);
            // The recess's rim: dark where it faces the light (top left).
            const float rim = std::clamp(1.5f - std::fabs(distance - radius), 0.0f, 1.0f);
            const float facing = (dx + dy) / (distance + 0.001f);
            canvas.blend(x, y, facing < 0.0f ? kShadow : kSlateLight,
                         rim * 0.6f * std::fabs(facing));
        }
    }
    const float ring = radius - 3.0f;
    for (int step = 0; step < 48; ++step) {
        const float a0 = static_cast<float>(step) * 6.2831853f / 48.0f;
        const float a1 = static_cast<float>(step + 1) * 6.2831853f / 48.0f;
        canvas.line(centreX + ring * std::cos(a0), centreY + ring * std::sin(a0),
                    centreX + ring * std::cos(a1), centreY + ring * std::sin(a1), 1.3f, kBrass);
    }
    // Two nested squares, each open on a different side, around a bead.
    const float outer = 6.5f;
    const float inner = 3.5f;
    canvas.line(centreX - outer, centreY - outer, centreX + outer, centreY - outer, 1.2f, kBrass);
    canvas.line(centreX + outer, centreY - outer, centreX + outer, centreY + outer, 1.2f, kBrass);
    canvas.line(centreX + outer, centreY + outer, centreX - 1.5f, centreY + outer, 1.2f, kBrass);
    canvas.line(centreX - outer, centreY - outer, centreX - outer, centreY + outer, 1.2f, kBrass);
    canvas.line(centreX - inner, centreY + inner, centreX + inner, centreY + inner, 1.2f, kBrass);
    canvas.line(centreX - inner, centreY - inner, centreX - inner, centreY + inner, 1.2f, kBrass);
    canvas.line(centreX - inner, centreY - inner, centreX + 1.0f, centreY - inner, 1.2f, kBrass);
    canvas.rivet(centreX, centreY, 1.6f, rgb(220, 120, 40));
}

// An L-shaped brass plate hugging a screen corner along the thin frame.
void paintCornerPlate(RgbCanvas& canvas, bool right, bool bottom) {
    const int length = 36;
    const int depth = kViewLeft - 4;  // up to the view lip
    const int x0 = right ? kScreenWidth - length : 0;
    const int y0 = bottom ? kScreenHeight - length : 0;
    const int xEdge = right ? kScreenWidth - depth : 0;
    const int yEdge = bottom ? kScreenHeight - depth : 0;
    for (int pass = 0; pass < 2; ++pass) {
        const int left = pass == 0 ? x0 : xEdge;
        const int top = pass == 0 ? yEdge : y0;
        const int rightEdge = pass == 0 ? x0 + length - 1 : xEdge + depth - 1;
        const int bottomEdge = pass == 0 ? yEdge + depth - 1 : y0 + length - 1;
        canvas.verticalGradient(left, top, rightEdge, bottomEdge,
                                mix(kBrass, rgb(255, 230, 160), 0.25f), kBrassDark);
        canvas.grain(left, top, rightEdge, bottomEdge, 0.3f, 21);
        canvas.bevel(left, top, rightEdge, bottomEdge, 1, rgb(255, 236, 180), kBrassDark, 0.8f);
    }
    const float cx = right ? static_cast<float>(kScreenWidth) - depth * 0.5f : depth * 0.5f;
    const float cy = bottom ? static_cast<float>(kScreenHeight) - depth * 0.5f : depth * 0.5f;
    canvas.rivet(cx, cy, 1.8f, rgb(150, 110, 50));
}

void paintSideFittings(RgbCanvas& canvas, float centreX) {
    const float middle = static_cast<float>(kPanelTop + kPanelBottom + 1) * 0.5f;
    paintMedallion(canvas, centreX, middle);
    canvas.rivet(centreX, static_cast<float>(kPanelTop) + 4.5f, 2.4f, rgb(140, 146, 160));
    canvas.rivet(centreX, static_cast<float>(kPanelBottom) - 3.5f, 2.4f, rgb(140, 146, 160));
}

}  // namespace

IndexedPicture make_frame_picture() {
    RgbCanvas canvas(kScreenWidth, kScreenHeight);
    paintStone(canvas);
    paintViewOpening(canvas);
    paintMessagePanel(canvas);
    paintSideFittings(canvas, static_cast<float>(kPanelLeft) * 0.5f + 0.5f);
    paintSideFittings(canvas, static_cast<float>(kPanelRight + 1 + kScreenWidth) * 0.5f);
    paintCornerPlate(canvas, false, false);
    paintCornerPlate(canvas, true, false);
    paintCornerPlate(canvas, false, true);
    paintCornerPlate(canvas, true, true);
    IndexedPicture picture = canvas.quantise(nullptr, 0, false);
    // The opening is exactly black whatever the dither did around it.
    for (int y = kViewTop; y <= kViewBottom; ++y)
        for (int x = kViewLeft; x <= kViewRight; ++x)
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = 0;
    return picture;
}
