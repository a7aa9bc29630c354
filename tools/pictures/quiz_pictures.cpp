// The default quiz's question pictures and intro scenes, and the content step
// that writes them into Pics/.
#include "pictures/quiz_pictures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string_view>
#include <vector>

#include "command.h"
#include "framework/framework.h"
#include "pictures/lettering.h"
#include "pictures/picture_import.h"
#include "pictures/pictures.h"

namespace {

// Where the game's view shows in a `krvtool shot` frame: the frame's opening.
constexpr int kShotViewLeft = frame_layout::kViewLeft;
constexpr int kShotViewTop = frame_layout::kViewTop;
constexpr int kShotViewWidth = frame_layout::kViewRight + 1 - frame_layout::kViewLeft;
constexpr int kShotViewHeight = frame_layout::kViewBottom + 1 - frame_layout::kViewTop;

struct Point2 {
    float x;
    float y;
};

float coverageOfDisc(float px, float py, float cx, float cy, float radius) {
    const float distance = std::hypot(px - cx, py - cy);
    return std::clamp(radius + 0.5f - distance, 0.0f, 1.0f);
}

void fillDisc(RgbCanvas& canvas, float cx, float cy, float radius, const Rgb& colour) {
    for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
        for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1; ++x)
            canvas.blend(x, y, colour, coverageOfDisc(x + 0.5f, y + 0.5f, cx, cy, radius));
}

// A convex polygon, corners in either winding, with anti-aliased edges.
void fillConvex(RgbCanvas& canvas, const std::vector<Point2>& corners, const Rgb& colour) {
    float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    float area = 0.0f;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point2& a = corners[i];
        const Point2& b = corners[(i + 1) % corners.size()];
        left = std::min(left, a.x), right = std::max(right, a.x);
        top = std::min(top, a.y), bottom = std::max(bottom, a.y);
        area += a.x * b.y - b.x * a.y;
    }
    const float winding = area >= 0.0f ? 1.0f : -1.0f;
    for (int y = static_cast<int>(top) - 1; y <= static_cast<int>(bottom) + 1; ++y) {
        for (int x = static_cast<int>(left) - 1; x <= static_cast<int>(right) + 1; ++x) {
            float inside = 1e9f;
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const Point2& a = corners[i];
                const Point2& b = corners[(i + 1) % corners.size()];
                const float ex = b.x - a.x, ey = b.y - a.y;
                const float length = std::hypot(ex, ey);
                if (length == 0.0f) continue;
                const float side = winding * (ex * (y + 0.5f - a.y) - ey * (x + 0.5f - a.x)) / length;
                inside = std::min(inside, side);
            }
            canvas.blend(x, y, colour, std::clamp(inside + 0.5f, 0.0f, 1.0f));
        }
    }
}

// Scattered stars of varying brightness over the whole canvas.
void paintStars(RgbCanvas& canvas, int seed, float density) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (hash_noise(x, y, seed) >= density) continue;
            const float brightness = 90.0f + 165.0f * hash_noise(x, y, seed + 1);
            canvas.set(x, y, added(canvas.get(x, y), rgb(brightness, brightness, brightness * 1.05f)));
        }
    }
}

struct LetteringLook {
    Rgb top;          // fill colour at the letters' top
    Rgb bottom;       // and at their foot
    Rgb glow;         // added around the strokes
    float stroke = 4.0f;
};

// One line of carved capitals centred on centreX with its top at top.
void paintLetters(RgbCanvas& canvas, std::string_view text, const LetterStyle& style, float centreX,
                  float top, const LetteringLook& look) {
    constexpr float kReach = 22.0f;
    const LetteredLine line = lay_letters(text, style, centreX, top, canvas.width(), canvas.height(), kReach);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float d = line.distance(x, y);
            if (d >= kReach) continue;
            const float halo = std::clamp(1.0f - d / 18.0f, 0.0f, 1.0f);
            canvas.set(x, y, added(canvas.get(x, y), scaled(look.glow, halo * halo)));
            canvas.blend(x, y, rgb(4, 4, 8), 0.9f * stroke_coverage(d, look.stroke + 3.0f));
            canvas.blend(x, y, mix(look.top, look.bottom, line.down(y)), stroke_coverage(d, look.stroke));
        }
    }
}

const LetteringLook kGold{rgb(255, 244, 190), rgb(205, 115, 28), rgb(110, 52, 8), 4.2f};
const LetteringLook kSkyBlue{rgb(235, 250, 255), rgb(90, 170, 255), rgb(10, 40, 110), 3.2f};

// Multiplies the picture towards black at its edges.
void vignette(RgbCanvas& canvas, float strength) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float dx = (x + 0.5f) / canvas.width() - 0.5f;
            const float dy = (y + 0.5f) / canvas.height() - 0.5f;
            const float shade = std::clamp(1.0f - strength * (dx * dx + dy * dy) * 2.0f, 0.0f, 1.0f);
            canvas.set(x, y, scaled(canvas.get(x, y), shade));
        }
    }
}

// The view of a shot, cut to the screen's shape and filling the screen.
RgbCanvas viewFillingScreen(const RgbCanvas& shot) {
    RgbCanvas view = crop_canvas(shot, kShotViewLeft, kShotViewTop, kShotViewWidth, kShotViewHeight);
    const int width = view.height() * 4 / 3;
    view = crop_canvas(view, (view.width() - width) / 2, 0, width, view.height());
    return resize_canvas(view, kScreenWidth, kScreenHeight);
}

// A lit sphere's shade at a point of its disc: light from the upper left.
float sphereLight(float dx, float dy, float radius) {
    const float nx = dx / radius, ny = dy / radius;
    const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
    return std::clamp(0.25f + 0.85f * (-0.5f * nx - 0.45f * ny + 0.74f * nz), 0.08f, 1.1f);
}

// Ocean and land of the Earth's face at a point of its disc.
Rgb earthSurface(float dx, float dy, float radius, int seed) {
    const float land = value_noise(dx + 400.0f, dy + 400.0f, static_cast<int>(radius / 3.0f) + 4, seed) * 0.65f +
                       value_noise(dx + 400.0f, dy + 400.0f, static_cast<int>(radius / 8.0f) + 2, seed + 7) * 0.35f;
    Rgb colour = land > 0.56f ? mix(rgb(70, 150, 60), rgb(150, 130, 80), std::clamp((land - 0.6f) * 4.0f, 0.0f, 1.0f))
                              : rgb(28, 78, 200);
    // Ice at the poles.
    if (std::fabs(dy) > radius * 0.86f) colour = rgb(235, 240, 250);
    return scaled(colour, sphereLight(dx, dy, radius));
}

bool save(const std::string& folder, const char* name, const IndexedPicture& picture) {
    return save_indexed_picture((std::filesystem::path(folder) / name).string(), picture);
}

bool writeViewScene(const std::string& folder, const std::string& viewFolder, const char* view,
                    const char* name, const std::string& caption) {
    std::string error;
    const auto shot = load_picture_file((std::filesystem::path(viewFolder) / view).string(), error);
    if (!shot) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return save(folder, name, make_intro_view_picture(*shot, caption));
}

bool writeQuizPictures(const std::string& source, const std::string& game) {
    return write_quiz_pictures((std::filesystem::path(game) / "Pics").string(),
                               (std::filesystem::path(source) / "pictures").string());
}

const ContentStepRegistration step(22, "quiz pictures", writeQuizPictures);

}  // namespace

IndexedPicture make_compass_question_picture() {
    RgbCanvas canvas(200, 200);
    const float c = 100.0f;
    // Brass case, then the dial.
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            const float brass = sphereLight(dx * 0.6f, dy * 0.6f, 96.0f);
            canvas.blend(x, y, scaled(rgb(225, 170, 60), brass), coverageOfDisc(x + 0.5f, y + 0.5f, c, c, 96.0f));
            canvas.blend(x, y, rgb(240, 232, 205), coverageOfDisc(x + 0.5f, y + 0.5f, c, c, 82.0f));
        }
    }
    // Ticks every 45 degrees, the four main directions longer.
    for (int k = 0; k < 16; ++k) {
        const float angle = static_cast<float>(k) * std::numbers::pi_v<float> / 8.0f;
        const float inner = k % 4 == 0 ? 58.0f : (k % 2 == 0 ? 68.0f : 74.0f);
        canvas.line(c + inner * std::sin(angle), c - inner * std::cos(angle), c + 79.0f * std::sin(angle),
                    c - 79.0f * std::cos(angle), k % 2 == 0 ? 2.0f : 1.0f, rgb(60, 50, 40));
    }
    LetterStyle style;
    style.unitX = 3.2f;
    style.unitY = 3.4f;
    paintLetters(canvas, "N", style, c, 22.0f, LetteringLook{rgb(40, 30, 20), rgb(40, 30, 20), rgb(0, 0, 0), 3.4f});
    // The needle: its red half points east, its tail west.
    fillConvex(canvas, {{c + 64.0f, c}, {c + 4.0f, c - 11.0f}, {c + 4.0f, c + 11.0f}}, rgb(215, 25, 25));
    fillConvex(canvas, {{c - 52.0f, c}, {c + 4.0f, c + 11.0f}, {c + 4.0f, c - 11.0f}}, rgb(70, 80, 100));
    fillDisc(canvas, c + 4.0f, c, 6.0f, rgb(230, 190, 80));
    return canvas.quantise(nullptr, 0, false);
}

IndexedPicture make_planet_question_picture() {
    constexpr int kWidth = 320;
    constexpr int kHeight = 200;
    RgbCanvas canvas(kWidth, kHeight);
    paintStars(canvas, 11, 0.006f);
    const float cx = 160.0f, cy = 100.0f, radius = 52.0f;
    const float tilt = -16.0f * std::numbers::pi_v<float> / 180.0f;
    const float flatten = 0.3f;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            // The ring plane: u along the ring, v across it (squeezed by the view).
            const float u = dx * std::cos(tilt) + dy * std::sin(tilt);
            const float v = -dx * std::sin(tilt) + dy * std::cos(tilt);
            const float ringRadius = std::hypot(u, v / flatten);
            const bool inRing = ringRadius > 66.0f && ringRadius < 132.0f && (ringRadius < 104.0f || ringRadius > 109.0f);
            const float band = 0.5f + 0.5f * std::sin(ringRadius * 0.45f);
            const Rgb ring = scaled(mix(rgb(200, 170, 120), rgb(240, 220, 170), band),
                                    ringRadius > 109.0f ? 0.75f : 1.0f);
            const bool ringInFront = v > 0.0f;
            const float planet = coverageOfDisc(x + 0.5f, y + 0.5f, cx, cy, radius);
            if (inRing && !ringInFront) canvas.set(x, y, ring);
            if (planet > 0.0f) {
                // Soft bands across the globe, parallel to the ring.
                const float stripes = 0.5f + 0.5f * std::sin(v * 0.22f + 0.8f);
                const Rgb body = scaled(mix(rgb(230, 190, 110), rgb(250, 225, 160), stripes), sphereLight(dx, dy, radius));
                canvas.blend(x, y, body, planet);
            }
            if (inRing && ringInFront) canvas.set(x, y, ring);
        }
    }
    return canvas.quantise(nullptr, 0, false);
}

IndexedPicture make_earth_question_picture() {
    RgbCanvas canvas(200, 200);
    paintStars(canvas, 23, 0.006f);
    const float c = 100.0f, radius = 92.0f;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            const float cover = coverageOfDisc(x + 0.5f, y + 0.5f, c, c, radius);
            if (cover <= 0.0f) continue;
            const float r = std::hypot(dx, dy);
            Rgb colour;
            // The upper right quarter is cut away to show the layers.
            if (dx > 0.0f && dy < 0.0f) {
                if (r > 85.0f) colour = rgb(130, 90, 60);                                         // crust
                else if (r > 50.0f) colour = mix(rgb(200, 60, 20), rgb(240, 120, 40), (r - 50.0f) / 35.0f);  // mantle
                else if (r > 28.0f) colour = rgb(250, 170, 40);                                   // outer core
                else colour = rgb(255, 240, 150);                                                 // inner core
            } else {
                colour = earthSurface(dx, dy, radius, 5);
            }
            canvas.blend(x, y, colour, cover);
        }
    }
    // Dark seams along the cut.
    canvas.line(c, c, c + radius - 1.0f, c, 1.5f, rgb(50, 20, 10));
    canvas.line(c, c, c, c - radius + 1.0f, 1.5f, rgb(50, 20, 10));
    return canvas.quantise(nullptr, 0, false);
}

IndexedPicture make_flag_question_picture() {
    constexpr int kWidth = 240;
    constexpr int kHeight = 160;
    RgbCanvas canvas(kWidth, kHeight);
    canvas.fillRect(0, 0, kWidth - 1, kHeight - 1, rgb(130, 130, 130));
    canvas.fillRect(2, 2, kWidth - 3, kHeight - 3, rgb(255, 255, 255));
    // The disc's diameter is three fifths of the flag's height, in its middle.
    fillDisc(canvas, kWidth / 2.0f, kHeight / 2.0f, kHeight * 0.3f, rgb(200, 10, 40));
    return canvas.quantise(nullptr, 0, false);
}

IndexedPicture make_intro_title_picture() {
    RgbCanvas canvas(kScreenWidth, kScreenHeight);
    canvas.verticalGradient(0, 0, kScreenWidth - 1, kScreenHeight - 1, rgb(2, 4, 18), rgb(16, 30, 80));
    paintStars(canvas, 3, 0.004f);
    // The Earth's curve along the bottom, with its blue air glowing above it.
    const float earthX = 320.0f, earthY = 1320.0f, earthRadius = 930.0f;
    for (int y = 300; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const float dx = x + 0.5f - earthX, dy = y + 0.5f - earthY;
            const float distance = std::hypot(dx, dy);
            const float air = std::clamp(1.0f - (distance - earthRadius) / 40.0f, 0.0f, 1.0f);
            canvas.set(x, y, added(canvas.get(x, y), scaled(rgb(60, 130, 255), air * air * 0.9f)));
            const float cover = std::clamp(earthRadius + 0.5f - distance, 0.0f, 1.0f);
            if (cover > 0.0f) {
                Rgb ground = earthSurface(dx * 0.35f, (dy + earthRadius) * 0.9f, 330.0f, 9);
                ground = scaled(ground, 0.5f + 0.6f * std::clamp(1.0f - (y - 390.0f) / 120.0f, 0.2f, 1.0f));
                canvas.blend(x, y, ground, cover);
            }
        }
    }
    // The Moon on the left, a ringed planet on the right.
    for (int y = 40; y < 160; ++y) {
        for (int x = 40; x < 160; ++x) {
            const float dx = x + 0.5f - 100.0f, dy = y + 0.5f - 96.0f;
            const float cover = coverageOfDisc(x + 0.5f, y + 0.5f, 100.0f, 96.0f, 34.0f);
            if (cover <= 0.0f) continue;
            const float mare = value_noise(x * 1.0f, y * 1.0f, 9, 31);
            const Rgb moon = scaled(mare > 0.6f ? rgb(150, 150, 160) : rgb(215, 215, 220), sphereLight(dx, dy, 34.0f));
            canvas.blend(x, y, moon, cover);
        }
    }
    const float px = 548.0f, py = 92.0f;
    for (int y = 50; y < 140; ++y) {
        for (int x = 480; x < 620; ++x) {
            const float dx = x + 0.5f - px, dy = y + 0.5f - py;
            const float u = dx * 0.96f - dy * 0.28f, v = dx * 0.28f + dy * 0.96f;
            const float ringRadius = std::hypot(u, v / 0.3f);
            const bool inRing = ringRadius > 26.0f && ringRadius < 48.0f;
            const float planet = coverageOfDisc(x + 0.5f, y + 0.5f, px, py, 20.0f);
            if (inRing && v < 0.0f) canvas.set(x, y, rgb(200, 175, 130));
            if (planet > 0.0f) canvas.blend(x, y, scaled(rgb(235, 200, 130), sphereLight(dx, dy, 20.0f)), planet);
            if (inRing && v >= 0.0f) canvas.set(x, y, rgb(215, 190, 140));
        }
    }
    LetterStyle name;
    name.unitX = 11.0f;
    name.unitY = 12.0f;
    name.letterGap = 1.35f;
    paintLetters(canvas, "KERAVON", name, 320.0f, 150.0f, kGold);
    LetterStyle theme;
    theme.unitX = 5.6f;
    theme.unitY = 6.0f;
    theme.letterGap = 1.4f;
    paintLetters(canvas, "EARTH AND SKY", theme, 320.0f, 258.0f, kSkyBlue);
    return canvas.quantise(nullptr, 0, false);
}

IndexedPicture make_intro_view_picture(const RgbCanvas& view, const std::string& caption) {
    RgbCanvas canvas = viewFillingScreen(view);
    vignette(canvas, 0.8f);
    // A dark band under the caption, fading in from above.
    for (int y = 360; y < kScreenHeight; ++y) {
        const float t = std::clamp((y - 360.0f) / 50.0f, 0.0f, 1.0f);
        for (int x = 0; x < kScreenWidth; ++x) canvas.set(x, y, mix(canvas.get(x, y), rgb(4, 6, 16), 0.85f * t));
    }
    LetterStyle style;
    style.unitX = 6.0f;
    style.unitY = 6.4f;
    style.letterGap = 1.4f;
    paintLetters(canvas, caption, style, 320.0f, 412.0f, kGold);
    return dither_to_palette(canvas);
}

IndexedPicture make_intro_quest_picture(const RgbCanvas& view) {
    RgbCanvas canvas = viewFillingScreen(view);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) canvas.set(x, y, mix(canvas.get(x, y), rgb(4, 8, 28), 0.72f));
    vignette(canvas, 0.9f);
    LetterStyle style;
    style.unitX = 4.6f;
    style.unitY = 5.0f;
    style.letterGap = 1.4f;
    const char* lines[] = {"SEEK FIFTEEN TREASURES", "ANSWER THEIR QUESTIONS", "BECOME AN EXPLORER OF"};
    float top = 110.0f;
    for (const char* line : lines) {
        paintLetters(canvas, line, style, 320.0f, top, kSkyBlue);
        top += 62.0f;
    }
    LetterStyle theme;
    theme.unitX = 7.0f;
    theme.unitY = 7.6f;
    theme.letterGap = 1.4f;
    paintLetters(canvas, "EARTH AND SKY", theme, 320.0f, top + 16.0f, kGold);
    return dither_to_palette(canvas);
}

bool write_quiz_pictures(const std::string& folder, const std::string& viewFolder) {
    if (!save(folder, "q_compass.bmp", make_compass_question_picture()) ||
        !save(folder, "q_planet.bmp", make_planet_question_picture()) ||
        !save(folder, "q_earth.bmp", make_earth_question_picture()) ||
        !save(folder, "q_flag.bmp", make_flag_question_picture()) ||
        !save(folder, "intro_title.bmp", make_intro_title_picture())) {
        return false;
    }
    if (!writeViewScene(folder, viewFolder, "hall.png", "intro_hall.bmp", "THE MARBLE HALL") ||
        !writeViewScene(folder, viewFolder, "caves.png", "intro_caves.bmp", "THE CAVES") ||
        !writeViewScene(folder, viewFolder, "garden.png", "intro_garden.bmp", "THE CLOISTER GARDEN")) {
        return false;
    }
    std::string error;
    const auto quest = load_picture_file((std::filesystem::path(viewFolder) / "quest.png").string(), error);
    if (!quest) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return save(folder, "intro_quest.bmp", make_intro_quest_picture(*quest));
}
