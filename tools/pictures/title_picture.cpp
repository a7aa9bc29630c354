// title.bmp: a brick corridor of a maze seen from inside, side passages
// branching off and a lamp burning at the far junction, under the name.
// The corridor is ray-cast over a small grid map, four samples a pixel.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "pictures/lettering.h"
#include "pictures/pictures.h"

namespace {

// '#' is a wall cell; the camera stands in the open column 4 near the
// bottom and looks towards row 0.
constexpr std::string_view kMap[] = {
    "##########", "#........#", "####.#####", "####.#####", "####.#####", "####.#####",
    "##...#####", "####.#####", "####.#####", "####...###", "####.#####", "####.#####",
};
constexpr int kMapRows = static_cast<int>(std::size(kMap));
constexpr int kMapColumns = 10;

bool isWall(int column, int row) {
    if (column < 0 || row < 0 || column >= kMapColumns || row >= kMapRows) return true;
    return kMap[row][column] == '#';
}

constexpr float kCameraX = 4.5f;
constexpr float kCameraY = 11.3f;
constexpr float kEyeHeight = 0.5f;
constexpr float kHorizon = 160.0f;
constexpr float kFocal = 150.0f;  // pixels per unit at distance 1
constexpr float kLampX = 4.5f;
constexpr float kLampY = 1.6f;
constexpr float kLampHeight = 0.8f;
const Rgb kFog = rgb(4, 6, 14);

// Bricks: four courses per wall unit, two bricks a course, every other
// course offset by half a brick; mortar is dark and slightly recessed.
Rgb brick(float u, float v, int seed) {
    const float course = v * 4.0f;
    const int row = static_cast<int>(std::floor(course));
    const float along = u * 2.0f + ((row & 1) != 0 ? 0.5f : 0.0f);
    const int column = static_cast<int>(std::floor(along));
    const float fu = along - static_cast<float>(column);
    const float fv = course - static_cast<float>(row);
    if (fu < 0.05f || fv < 0.08f) return rgb(30, 26, 24);
    const float tone = 0.8f + 0.4f * hash_noise(column, row, seed);
    const float grit = 0.9f + 0.2f * hash_noise(static_cast<int>(u * 64.0f),
                                                static_cast<int>(v * 64.0f), seed + 1);
    return scaled(rgb(120, 96, 78), tone * grit);
}

Rgb floorTile(float x, float y) {
    const float fx = x * 2.0f - std::floor(x * 2.0f);
    const float fy = y * 2.0f - std::floor(y * 2.0f);
    if (fx < 0.04f || fy < 0.04f) return rgb(16, 16, 20);
    const float tone = 0.75f + 0.35f * hash_noise(static_cast<int>(std::floor(x * 2.0f)),
                                                  static_cast<int>(std::floor(y * 2.0f)), 41);
    return scaled(rgb(86, 88, 96), tone);
}

// True when the straight path on the ground from (x, y) to the lamp crosses
// a wall cell: side passages then lie in the lamp's shadow.
bool lampHidden(float x, float y) {
    const float dx = kLampX - x;
    const float dy = kLampY - y;
    const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) / 0.05f);
    for (int i = 1; i < steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const float sx = x + dx * t;
        const float sy = y + dy * t;
        if (isWall(static_cast<int>(std::floor(sx)), static_cast<int>(std::floor(sy)))) return true;
    }
    return false;
}

// The surface point's light: the lamp at the junction, the viewer's torch
// and fog. lampFacing and torchFacing are the cosines between the surface
// normal and the directions to the lamp and to the eye; distance is from the
// eye.
Rgb lit(const Rgb& albedo, float px, float py, float height, float lampFacing, float torchFacing,
        float distance) {
    const float lx = kLampX - px;
    const float ly = kLampY - py;
    const float lh = kLampHeight - height;
    const float lampDistanceSquared = lx * lx + ly * ly + lh * lh;
    // Points just inside a wall cell's face count as in front of it.
    const bool hidden = lampHidden(px - lx * 0.02f, py - ly * 0.02f);
    const float lamp =
        hidden ? 0.0f : 6.0f * std::max(lampFacing, 0.2f) / (1.0f + 0.8f * lampDistanceSquared);
    // The torch is a spot along the view: it fades off-axis.
    const float axis = (kCameraY - py) / std::max(distance, 0.0001f);
    const float spot = axis * axis * axis * axis;
    const float torch = 3.0f * spot * (0.45f + 0.55f * std::max(torchFacing, 0.0f)) /
                        (1.0f + 0.12f * distance * distance);
    const float ambient = 0.08f;
    const float white = ambient + torch;
    const Rgb lamplit =
        rgb(albedo.red * (white * 0.95f + lamp * 1.3f),
            albedo.green * (white * 0.95f + lamp * 0.85f), albedo.blue * (white + lamp * 0.4f));
    const float fog = std::exp(-0.08f * distance);
    return mix(kFog, lamplit, fog);
}

Rgb castSample(float sx, float sy) {
    const float cameraX = (2.0f * sx / static_cast<float>(kTitleWidth)) - 1.0f;
    const float halfWidth = static_cast<float>(kTitleWidth) * 0.5f / kFocal;
    const float rayX = cameraX * halfWidth;  // forward is -y, right is +x
    const float rayY = -1.0f;

    // Grid walk to the first wall cell.
    int column = static_cast<int>(kCameraX);
    int row = static_cast<int>(kCameraY);
    const float deltaX = rayX == 0.0f ? 1e30f : std::fabs(1.0f / rayX);
    const float deltaY = std::fabs(1.0f / rayY);
    const int stepX = rayX < 0.0f ? -1 : 1;
    const int stepY = rayY < 0.0f ? -1 : 1;
    float sideX = rayX < 0.0f ? (kCameraX - static_cast<float>(column)) * deltaX
                              : (static_cast<float>(column) + 1.0f - kCameraX) * deltaX;
    float sideY = rayY < 0.0f ? (kCameraY - static_cast<float>(row)) * deltaY
                              : (static_cast<float>(row) + 1.0f - kCameraY) * deltaY;
    bool hitSideX = false;
    for (int guard = 0; guard < 64; ++guard) {
        if (sideX < sideY) {
            sideX += deltaX;
            column += stepX;
            hitSideX = true;
        } else {
            sideY += deltaY;
            row += stepY;
            hitSideX = false;
        }
        if (isWall(column, row)) break;
    }
    const float wallDistance = hitSideX ? sideX - deltaX : sideY - deltaY;
    const float wallTop = kHorizon - kFocal * (1.0f - kEyeHeight) / wallDistance;
    const float wallBottom = kHorizon + kFocal * kEyeHeight / wallDistance;

    if (sy >= wallTop && sy < wallBottom) {
        const float hitX = kCameraX + rayX * wallDistance;
        const float hitY = kCameraY + rayY * wallDistance;
        const float u = hitSideX ? hitY - std::floor(hitY) : hitX - std::floor(hitX);
        const float height = 1.0f - (sy - wallTop) / (wallBottom - wallTop);
        // The normal faces back along the step that entered the wall cell.
        const float normalX = hitSideX ? static_cast<float>(-stepX) : 0.0f;
        const float normalY = hitSideX ? 0.0f : static_cast<float>(-stepY);
        const float lx = kLampX - hitX;
        const float ly = kLampY - hitY;
        const float lampFacing =
            (normalX * lx + normalY * ly) / std::sqrt(lx * lx + ly * ly + 0.01f);
        const float ex = kCameraX - hitX;
        const float ey = kCameraY - hitY;
        const float eyeDistance = std::sqrt(ex * ex + ey * ey + 0.0001f);
        const float torchFacing = (normalX * ex + normalY * ey) / eyeDistance;
        const Rgb albedo = brick(u, 1.0f - height, column * 17 + row);
        return lit(albedo, hitX, hitY, height, lampFacing, torchFacing, eyeDistance);
    }
    const bool floor = sy >= wallBottom;
    const float rowDistance = floor ? kFocal * kEyeHeight / (sy - kHorizon)
                                    : kFocal * (1.0f - kEyeHeight) / (kHorizon - sy);
    const float px = kCameraX + rayX * rowDistance;
    const float py = kCameraY + rayY * rowDistance;
    const float lx = kLampX - px;
    const float ly = kLampY - py;
    const float height = floor ? 0.0f : 1.0f;
    const float lh = kLampHeight - height;
    const float lampFacing = (floor ? lh : -lh) / std::sqrt(lx * lx + ly * ly + lh * lh);
    const float ex = kCameraX - px;
    const float ey = kCameraY - py;
    const float eh = kEyeHeight - height;
    const float eyeDistance = std::sqrt(ex * ex + ey * ey + eh * eh);
    const float torchFacing = std::fabs(eh) / eyeDistance;
    const Rgb albedo = floor ? floorTile(px, py) : rgb(40, 40, 48);
    return lit(albedo, px, py, height, lampFacing, torchFacing, eyeDistance);
}

void paintCorridor(RgbCanvas& canvas) {
    constexpr float kOffsets[2] = {0.25f, 0.75f};
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < kTitleWidth; ++x) {
            Rgb sum;
            for (float oy : kOffsets)
                for (float ox : kOffsets)
                    sum = added(sum,
                                castSample(static_cast<float>(x) + ox, static_cast<float>(y) + oy));
            canvas.set(x, y, scaled(sum, 0.25f));
        }
    }
    // The lamp's halo hangs in the air at the junction.
    const float lampDistance = kCameraY - kLampY;
    canvas.glow(static_cast<float>(kTitleWidth) * 0.5f,
                kHorizon - kFocal * (kLampHeight - kEyeHeight) / lampDistance, 34.0f, 26.0f,
                rgb(110, 70, 24));
}

// Darkens the ceiling under the name and the corners, so the picture melts
// into the dialog's dark background.
void paintShade(RgbCanvas& canvas) {
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < kTitleWidth; ++x) {
            const float top = std::clamp(1.0f - static_cast<float>(y) / 90.0f, 0.0f, 1.0f);
            const float dx =
                (static_cast<float>(x) + 0.5f) / static_cast<float>(kTitleWidth) - 0.5f;
            const float dy =
                (static_cast<float>(y) + 0.5f) / static_cast<float>(kTitleHeight) - 0.5f;
            const float vignette = std::clamp((dx * dx + dy * dy) * 2.2f - 0.15f, 0.0f, 1.0f);
            const float darkness = std::max(0.85f * top * top, 0.8f * vignette);
            canvas.set(x, y, mix(canvas.get(x, y), kFog, darkness));
        }
    }
}

void paintName(RgbCanvas& canvas) {
    const std::string_view name = "KERAVON";
    LetterStyle style;
    style.unitX = 5.2f;
    style.unitY = 6.2f;
    style.letterGap = 1.35f;
    const LetteredLine letters =
        lay_letters(name, style, static_cast<float>(kTitleWidth) * 0.5f, 16.0f, kTitleWidth, kTitleHeight, 20.0f);
    const float stroke = 4.2f;
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < kTitleWidth; ++x) {
            const float d = letters.distance(x, y);
            if (d >= 20.0f) continue;
            const float halo = std::clamp(1.0f - d / 16.0f, 0.0f, 1.0f);
            canvas.set(x, y, added(canvas.get(x, y), scaled(rgb(120, 56, 8), halo * halo)));
            canvas.blend(x, y, rgb(6, 4, 2), 0.9f * stroke_coverage(d, stroke + 3.0f));
            const float t = letters.down(y);
            // Gold: pale at the top, deep at the foot, a bright band across.
            Rgb gold = mix(rgb(255, 244, 190), rgb(200, 110, 24), t);
            gold = mix(gold, rgb(255, 220, 120),
                       std::clamp(1.0f - std::fabs(t - 0.45f) * 8.0f, 0.0f, 1.0f) * 0.5f);
            canvas.blend(x, y, gold, stroke_coverage(d, stroke));
        }
    }
    // A rule under the name with a stud at its middle.
    const float ruleY = letters.top + letters.height + 9.0f;
    const float middle = static_cast<float>(kTitleWidth) * 0.5f;
    canvas.line(middle - 70.0f, ruleY, middle - 8.0f, ruleY, 1.0f, rgb(170, 110, 40));
    canvas.line(middle + 8.0f, ruleY, middle + 70.0f, ruleY, 1.0f, rgb(170, 110, 40));
    canvas.rivet(middle, ruleY, 2.5f, rgb(220, 130, 40));
}

}  // namespace

IndexedPicture make_title_picture() {
    RgbCanvas canvas(kTitleWidth, kTitleHeight);
    paintCorridor(canvas);
    paintShade(canvas);
    paintName(canvas);
    canvas.bevel(0, 0, kTitleWidth - 1, kTitleHeight - 1, 2, rgb(150, 110, 50), rgb(40, 26, 10),
                 0.8f);
    return canvas.quantise(nullptr, 0, false);
}
