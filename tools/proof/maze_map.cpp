#include "proof/maze_map.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <variant>

#include "check/game_mazes.h"
#include "check/reach.h"
#include "check/text_layout.h"
#include "collision/move_test.h"
#include "framework/files.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "shell/game.h"

namespace {

using namespace map_colour;

constexpr int kMargin = 10;
constexpr int kTitleHeight = 28;
constexpr int kTopRuler = 24;    // x labels above the map area
constexpr int kLeftRuler = 64;   // z labels left of it
constexpr int kRightRoom = 140;  // for labels right of the map area
constexpr int kLegendHeight = 64;
constexpr int kLegendWidth = 1190;  // the legend in one row
// The larger side of a maze is drawn at most this many pixels long.
constexpr float kLongestSide = 1400.0f;
// A reached place stands for the lattice square around it; its floor is
// the top floor there when their heights agree within this.
constexpr float kSameFloor = 20.0f;
constexpr float kNoFloor = std::numeric_limits<float>::lowest();

struct Rgb8 {
    std::uint8_t red, green, blue;
};

Rgb8 mixed(const Rgb8& a, const Rgb8& b, float t) {
    const auto channel = [&](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

// Low floors cool, high floors warm: blue, green, amber.
Rgb8 heightColour(float t) {
    const Rgb8 low{70, 120, 200};
    const Rgb8 middle{110, 190, 110};
    const Rgb8 high{235, 180, 70};
    return t < 0.5f ? mixed(low, middle, t * 2.0f) : mixed(middle, high, (t - 0.5f) * 2.0f);
}

// A pleasant grid step for the scale: lines at least 40 pixels apart.
int gridStep(float pixelsPerUnit) {
    for (const int step : {25, 50, 100, 200, 250, 500, 1000, 2000, 5000}) {
        if (step * pixelsPerUnit >= 40.0f) return step;
    }
    return 10000;
}

struct MazeExtent {
    const Model* model = nullptr;
    float minX = 0, maxX = 0, minZ = 0, maxZ = 0;
};

// Everything the picture shows besides the floors, from the logic file.
struct QuizMarks {
    LogicFileContents logic;
    ReachWalk walk;
};

bool isFloor(const Model& model, const Polygon& polygon) {
    if (polygon.face < 1 || polygon.face > model.faceCount) return false;
    const SlopeClass slope = model.faces[polygon.face].slopeClass;
    return slope == SlopeClass::FlatFloor || slope == SlopeClass::SlopedFloor;
}

bool isWall(const Model& model, const Polygon& polygon) {
    return polygon.face >= 1 && polygon.face <= model.faceCount &&
           model.faces[polygon.face].slopeClass == SlopeClass::Wall;
}

// The floor's height at (x, z): a flat floor's first point, a sloped one's
// plane, as the move test takes them.
float floorHeight(const Model& model, const Polygon& polygon, float x, float z) {
    const Face& face = model.faces[polygon.face];
    const Vec3& p = model.points[polygon.pointIndices[1]];
    if (face.slopeClass == SlopeClass::FlatFloor || face.normal.y == 0.0f) return p.y;
    const Vec3& n = face.normal;
    return (n.x * (p.x - x) + n.y * p.y + n.z * (p.z - z)) / n.y;
}

class PanelPainter {
public:
    PanelPainter(MazeMap& map, const MapPanel& panel, const Model& model, const QuizMarks& marks,
                 const GfxFont* font)
        : map_(map),
          canvas_(map.canvas),
          panel_(panel),
          model_(model),
          marks_(marks),
          font_(font),
          heights_(static_cast<std::size_t>(panel.width) * panel.height, kNoFloor),
          reached_(heights_.size(), 0) {}

    void paint() {
        rasteriseFloors();
        markReached();
        paintFloors();
        paintGrid();
        paintWalls();
        paintZones();
        paintPoints();
        paintObjects();
        paintRulers();
    }

private:
    float worldX(int px) const { return panel_.minX + (px + 0.5f) / panel_.pixelsPerUnit; }
    float worldZ(int py) const { return panel_.minZ + (py + 0.5f) / panel_.pixelsPerUnit; }
    std::size_t cell(int px, int py) const {
        return static_cast<std::size_t>(py) * panel_.width + px;
    }

    // Seen from above: each pixel keeps the highest floor over it.
    void rasteriseFloors() {
        for (int i = 1; i <= model_.polygonCount; ++i) {
            const Polygon& polygon = model_.polygons[i];
            if (polygon.pointCount < 3 || !isFloor(model_, polygon)) continue;
            float lowZ = std::numeric_limits<float>::max(),
                  highZ = std::numeric_limits<float>::lowest();
            for (int k = 1; k <= polygon.pointCount; ++k) {
                const float z = model_.points[polygon.pointIndices[k]].z;
                lowZ = std::min(lowZ, z);
                highZ = std::max(highZ, z);
            }
            const int firstRow =
                std::max(0, static_cast<int>((lowZ - panel_.minZ) * panel_.pixelsPerUnit));
            const int lastRow = std::min(
                panel_.height - 1, static_cast<int>((highZ - panel_.minZ) * panel_.pixelsPerUnit));
            for (int py = firstRow; py <= lastRow; ++py) fillRow(polygon, py);
        }
    }

    // The polygon is convex across the floor: one span per row.
    void fillRow(const Polygon& polygon, int py) {
        const float z = worldZ(py);
        float left = std::numeric_limits<float>::max(),
              right = std::numeric_limits<float>::lowest();
        for (int k = 1; k <= polygon.pointCount; ++k) {
            const Vec3& a = model_.points[polygon.pointIndices[k]];
            const Vec3& b = model_.points[polygon.pointIndices[k % polygon.pointCount + 1]];
            if ((a.z < z && b.z < z) || (a.z > z && b.z > z) || a.z == b.z) continue;
            const float x = a.x + (b.x - a.x) * (z - a.z) / (b.z - a.z);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left > right) return;
        const int first = std::max(
            0, static_cast<int>(std::ceil((left - panel_.minX) * panel_.pixelsPerUnit - 0.5f)));
        const int last = std::min(
            panel_.width - 1,
            static_cast<int>(std::floor((right - panel_.minX) * panel_.pixelsPerUnit - 0.5f)));
        for (int px = first; px <= last; ++px) {
            float& height = heights_[cell(px, py)];
            height = std::max(height, floorHeight(model_, polygon, worldX(px), z));
        }
    }

    void markReached() {
        const MazeReach& reach = marks_.walk.mazes[panel_.maze];
        const float half = kReachStep / 2.0f;
        for (const auto& [place, eye] : reach.reached) {
            const float floorY = eye.y - kEyeHeight;
            const int x0 = std::max(0, panel_.pixelX(eye.x - half) - panel_.left);
            const int x1 = std::min(panel_.width - 1, panel_.pixelX(eye.x + half) - panel_.left);
            const int y0 = std::max(0, panel_.pixelY(eye.z - half) - panel_.top);
            const int y1 = std::min(panel_.height - 1, panel_.pixelY(eye.z + half) - panel_.top);
            for (int py = y0; py <= y1; ++py) {
                for (int px = x0; px <= x1; ++px) {
                    if (std::fabs(heights_[cell(px, py)] - floorY) <= kSameFloor)
                        reached_[cell(px, py)] = 1;
                }
            }
        }
    }

    void paintFloors() {
        const float range = std::max(map_.highestFloor - map_.lowestFloor, 1.0f);
        for (int py = 0; py < panel_.height; ++py) {
            for (int px = 0; px < panel_.width; ++px) {
                const float height = heights_[cell(px, py)];
                std::uint8_t colour = kVoid;
                if (height != kNoFloor) {
                    const int level = std::clamp(
                        static_cast<int>((height - map_.lowestFloor) / range * (kHeightLevels - 1) +
                                         0.5f),
                        0, kHeightLevels - 1);
                    if (reached_[cell(px, py)]) {
                        colour = static_cast<std::uint8_t>(kReachedFloor + level);
                    } else {
                        // Hatched, so it reads as "not here" in grey print too.
                        colour = (px + py) % 6 == 0
                                     ? kHatch
                                     : static_cast<std::uint8_t>(kUnreachedFloor + level);
                    }
                }
                canvas_.set(panel_.left + px, panel_.top + py, colour);
            }
        }
    }

    void paintGrid() {
        const int step = gridStep(panel_.pixelsPerUnit);
        const float maxX = panel_.minX + panel_.width / panel_.pixelsPerUnit;
        const float maxZ = panel_.minZ + panel_.height / panel_.pixelsPerUnit;
        for (int x = static_cast<int>(std::ceil(panel_.minX / step)) * step; x <= maxX; x += step) {
            const int px = panel_.pixelX(static_cast<float>(x));
            for (int py = panel_.top; py < panel_.top + panel_.height; py += 2)
                canvas_.set(px, py, kGrid);
        }
        for (int z = static_cast<int>(std::ceil(panel_.minZ / step)) * step; z <= maxZ; z += step) {
            const int py = panel_.pixelY(static_cast<float>(z));
            for (int px = panel_.left; px < panel_.left + panel_.width; px += 2)
                canvas_.set(px, py, kGrid);
        }
    }

    // A wall's outline seen from above is the line it stands on.
    void paintWalls() {
        for (int i = 1; i <= model_.polygonCount; ++i) {
            const Polygon& polygon = model_.polygons[i];
            if (!isWall(model_, polygon)) continue;
            for (int k = 1; k <= polygon.pointCount; ++k) {
                const Vec3& a = model_.points[polygon.pointIndices[k]];
                const Vec3& b = model_.points[polygon.pointIndices[k % polygon.pointCount + 1]];
                canvas_.line(panel_.pixelX(a.x), panel_.pixelY(a.z), panel_.pixelX(b.x),
                             panel_.pixelY(b.z), kWall);
            }
        }
    }

    void label(int x, int y, const std::string& text, std::uint8_t colour) {
        const int width = kGlyphWidth * static_cast<int>(text.size());
        canvas_.fillRect(x - 1, y, x + width, y + kLineHeight - 1, kPage);
        canvas_.text(font_, x, y, text, colour);
    }

    void paintZones() {
        for (const LogicRecord& record : marks_.logic.records) {
            if (record.maze != panel_.maze) continue;
            if (const auto* zone = std::get_if<LogicSoundZone>(&record.value)) {
                const Box& b = zone->box;
                canvas_.dashedRect(panel_.pixelX(b.min.x), panel_.pixelY(b.min.z),
                                   panel_.pixelX(b.max.x), panel_.pixelY(b.max.z), kSound, 4);
                label(panel_.pixelX(b.min.x) + 3, panel_.pixelY(b.max.z) - kLineHeight - 2,
                      "sound " + std::to_string(zone->sound), kSound);
            }
        }
        for (const PassageLink& passage : marks_.walk.passages[panel_.maze]) {
            const Box& b = passage.box;
            canvas_.frameRect(panel_.pixelX(b.min.x), panel_.pixelY(b.min.z),
                              panel_.pixelX(b.max.x), panel_.pixelY(b.max.z), kPassage, 2);
            const std::string where =
                (passage.targetMaze == panel_.maze
                     ? std::string("to B")
                     : "to maze " + std::to_string(passage.targetMaze) + " B") +
                std::to_string(passage.targetStartPoint);
            label(panel_.pixelX(b.min.x) + 3, panel_.pixelY(b.min.z) + 3, where, kPassage);
        }
    }

    void paintPoints() {
        const int homeX = panel_.pixelX(model_.homePosition.x);
        const int homeY = panel_.pixelY(model_.homePosition.z);
        canvas_.disc(homeX, homeY, 6, kHome);
        // Left of the disc: start point 0 is usually the home too.
        label(homeX - 8 - kGlyphWidth, homeY - kLineHeight / 2, "H", kHome);
        int number = 0;
        for (const LogicRecord& record : marks_.logic.records) {
            const auto* start = std::get_if<LogicStartPoint>(&record.value);
            if (!start || record.maze != panel_.maze) continue;
            const int x = panel_.pixelX(start->point.x);
            const int y = panel_.pixelY(start->point.z);
            canvas_.disc(x, y, 5, kStart);
            label(x + 7, y + 2, "B" + std::to_string(number++), kStart);
        }
    }

    void paintObjects() {
        int number = 0;
        for (const LogicRecord& record : marks_.logic.records) {
            const auto* object = std::get_if<LogicObject>(&record.value);
            if (!object) continue;
            const int k = number++;
            if (record.maze != panel_.maze) continue;
            const int x = panel_.pixelX(object->position.x);
            const int y = panel_.pixelY(object->position.z);
            if (!(object->otherPosition == object->position)) {
                const int ox = panel_.pixelX(object->otherPosition.x);
                const int oy = panel_.pixelY(object->otherPosition.z);
                canvas_.line(x, y, ox, oy, kOtherPlace);
                canvas_.ring(ox, oy, 6, kOtherPlace);
                canvas_.ring(ox, oy, 5, kOtherPlace);
                label(ox + 8, oy - kLineHeight - 1, std::to_string(k) + "'", kOtherPlace);
            }
            canvas_.disc(x, y, 6, kObject);
            label(x + 8, y - kLineHeight - 1, std::to_string(k), kObject);
        }
    }

    void paintRulers() {
        const int step = gridStep(panel_.pixelsPerUnit);
        // Labels at least six characters apart.
        const int labelStep =
            step * static_cast<int>(std::ceil(6.0f * kGlyphWidth / (step * panel_.pixelsPerUnit)));
        const float maxX = panel_.minX + panel_.width / panel_.pixelsPerUnit;
        const float maxZ = panel_.minZ + panel_.height / panel_.pixelsPerUnit;
        for (int x = static_cast<int>(std::ceil(panel_.minX / labelStep)) * labelStep; x <= maxX;
             x += labelStep) {
            const std::string text = std::to_string(x);
            const int px = panel_.pixelX(static_cast<float>(x));
            canvas_.fillRect(px, panel_.top - 5, px, panel_.top - 1, kText);
            canvas_.text(font_, px - kGlyphWidth * static_cast<int>(text.size()) / 2,
                         panel_.top - kTopRuler, text, kText);
        }
        for (int z = static_cast<int>(std::ceil(panel_.minZ / labelStep)) * labelStep; z <= maxZ;
             z += labelStep) {
            const std::string text = std::to_string(z);
            const int py = panel_.pixelY(static_cast<float>(z));
            canvas_.fillRect(panel_.left - 5, py, panel_.left - 1, py, kText);
            canvas_.text(font_, panel_.left - 8 - kGlyphWidth * static_cast<int>(text.size()),
                         py - kLineHeight / 2, text, kText);
        }
    }

    MazeMap& map_;
    IndexedCanvas& canvas_;
    const MapPanel& panel_;
    const Model& model_;
    const QuizMarks& marks_;
    const GfxFont* font_;
    std::vector<float> heights_;
    std::vector<std::uint8_t> reached_;
};

void paintLegend(MazeMap& map, const GfxFont* font, int top) {
    IndexedCanvas& c = map.canvas;
    int x = kMargin;
    const int y = top + 8;
    c.text(font, x, y, "floor y", kText);
    x += 8 * kGlyphWidth;
    const int barWidth = 160;
    for (int i = 0; i < barWidth; ++i) {
        const int level = i * kHeightLevels / barWidth;
        c.fillRect(x + i, y, x + i, y + 8, static_cast<std::uint8_t>(kReachedFloor + level));
        c.fillRect(
            x + i, y + 10, x + i, y + 18,
            (x + i + y) % 6 == 0 ? kHatch : static_cast<std::uint8_t>(kUnreachedFloor + level));
    }
    c.text(font, x, y + 22, std::to_string(std::lround(map.lowestFloor)), kText);
    const std::string high = std::to_string(std::lround(map.highestFloor));
    c.text(font, x + barWidth - kGlyphWidth * static_cast<int>(high.size()), y + 22, high, kText);
    x += barWidth + 12;
    c.text(font, x, y - 2, "top: reached by a walking player", kText);
    c.text(font, x, y + 18, "hatched: nobody reaches it", kText);
    x += 35 * kGlyphWidth;
    c.disc(x + 6, y + 8, 6, kObject);
    c.text(font, x + 16, y - 2, "object (number)", kText);
    c.ring(x + 6, y + 30, 6, kOtherPlace);
    c.text(font, x + 16, y + 20, "its wrong-answer place", kText);
    x += 25 * kGlyphWidth;
    c.disc(x + 6, y + 8, 6, kHome);
    c.text(font, x + 16, y - 2, "H home", kText);
    c.disc(x + 6, y + 30, 5, kStart);
    c.text(font, x + 16, y + 20, "B start point", kText);
    x += 16 * kGlyphWidth;
    c.frameRect(x, y + 2, x + 14, y + 14, kPassage, 2);
    c.text(font, x + 20, y - 2, "passage", kText);
    c.dashedRect(x, y + 24, x + 14, y + 36, kSound, 4);
    c.text(font, x + 20, y + 20, "sound zone", kText);
}

}  // namespace

int MapPanel::pixelX(float x) const {
    return left + static_cast<int>(std::floor((x - minX) * pixelsPerUnit));
}

int MapPanel::pixelY(float z) const {
    return top + static_cast<int>(std::floor((z - minZ) * pixelsPerUnit));
}

std::array<PaletteEntry, 256> map_palette() {
    std::array<PaletteEntry, 256> palette{};
    const auto put = [&](int index, Rgb8 c) {
        palette[index] = PaletteEntry{c.blue, c.green, c.red, 0};
    };
    put(kPage, {255, 255, 255});
    put(kVoid, {205, 200, 195});
    put(kGrid, {90, 90, 100});
    put(kText, {0, 0, 0});
    put(kWall, {20, 20, 20});
    put(kPassage, {190, 0, 190});
    put(kSound, {230, 110, 0});
    put(kObject, {215, 0, 0});
    put(kOtherPlace, {150, 0, 0});
    put(kStart, {0, 80, 220});
    put(kHome, {0, 140, 0});
    put(kLabelOnDark, {255, 255, 255});
    put(kHatch, {120, 120, 120});
    const Rgb8 grey{175, 175, 175};
    for (int level = 0; level < kHeightLevels; ++level) {
        const Rgb8 colour = heightColour(static_cast<float>(level) / (kHeightLevels - 1));
        put(kReachedFloor + level, colour);
        put(kUnreachedFloor + level, mixed(colour, grey, 0.7f));
    }
    return palette;
}

std::optional<MazeMap> drawMazeMap(int maze, std::string& error) {
    buildTrigTables();
    TextureList textures;
    const auto mazes = loadGameMazes(textures);
    std::vector<Model*> models;
    for (const auto& model : mazes) models.push_back(model.get());

    QuizMarks marks;
    TextFile file;
    if (file.open(kLogicFile)) marks.logic = parseLogicFile(file);
    marks.walk = walkReach(marks.logic, models, kMazeHome);

    MazeMap map;
    std::vector<MazeExtent> chosen;
    std::vector<int> numbers;
    map.lowestFloor = std::numeric_limits<float>::max();
    map.highestFloor = std::numeric_limits<float>::lowest();
    for (int m = 0; m < static_cast<int>(mazes.size()); ++m) {
        if (maze >= 0 && m != maze) continue;
        const Model& model = *mazes[m];
        if (!model.loaded || model.pointCount < 1) {
            if (maze >= 0) {
                error = model.loadError.describe();
                return std::nullopt;
            }
            continue;
        }
        MazeExtent facts{&model, model.points[1].x, model.points[1].x, model.points[1].z,
                         model.points[1].z};
        for (int i = 1; i <= model.pointCount; ++i) {
            const Vec3& p = model.points[i];
            facts.minX = std::min(facts.minX, p.x);
            facts.maxX = std::max(facts.maxX, p.x);
            facts.minZ = std::min(facts.minZ, p.z);
            facts.maxZ = std::max(facts.maxZ, p.z);
        }
        for (int i = 1; i <= model.polygonCount; ++i) {
            const Polygon& polygon = model.polygons[i];
            if (!isFloor(model, polygon)) continue;
            for (int k = 1; k <= polygon.pointCount; ++k) {
                const float y = model.points[polygon.pointIndices[k]].y;
                map.lowestFloor = std::min(map.lowestFloor, y);
                map.highestFloor = std::max(map.highestFloor, y);
            }
        }
        chosen.push_back(facts);
        numbers.push_back(m);
    }
    if (chosen.empty()) {
        error = mazes[0]->loadError.describe() + " (no maze loaded; krvtool check says more)";
        return std::nullopt;
    }
    const OwnedFont font(gfx_load_font("Fonts\\Cour20b.fnt"));
    if (!font) {
        error = "Fonts\\Cour20b.fnt: cannot load the game's font for the labels";
        return std::nullopt;
    }
    if (map.lowestFloor > map.highestFloor) map.lowestFloor = map.highestFloor = 0.0f;

    int width = kLegendWidth;
    int top = kMargin;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const MazeExtent& facts = chosen[i];
        MapPanel panel;
        panel.maze = numbers[i];
        const float longest = std::max(facts.maxX - facts.minX, facts.maxZ - facts.minZ);
        panel.pixelsPerUnit = std::min(1.0f, kLongestSide / std::max(longest, 1.0f));
        // A little room round the walls.
        const float pad = 20.0f / panel.pixelsPerUnit;
        panel.minX = facts.minX - pad;
        panel.minZ = facts.minZ - pad;
        panel.width =
            static_cast<int>((facts.maxX - facts.minX + 2 * pad) * panel.pixelsPerUnit) + 1;
        panel.height =
            static_cast<int>((facts.maxZ - facts.minZ + 2 * pad) * panel.pixelsPerUnit) + 1;
        panel.left = kMargin + kLeftRuler;
        panel.top = top + kTitleHeight + kTopRuler;
        top = panel.top + panel.height + kMargin;
        // Labels of marks near the east wall reach past it.
        width = std::max(width, panel.left + panel.width + kRightRoom);
        map.panels.push_back(panel);
    }
    map.canvas = IndexedCanvas(width, top + kLegendHeight, kPage);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const MapPanel& panel = map.panels[i];
        const int units = static_cast<int>(std::lround(1.0f / panel.pixelsPerUnit));
        const std::string title = "Maze " + std::to_string(panel.maze) + ", Objects\\" +
                                  kMazeFiles[panel.maze] + ", seen from above, north (-z) up; " +
                                  "x across, z down; 1 pixel = " + std::to_string(units) +
                                  (units == 1 ? " unit" : " units");
        map.canvas.text(font.get(), kMargin, panel.top - kTopRuler - kTitleHeight + 2, title,
                        kText);
        PanelPainter(map, panel, *chosen[i].model, marks, font.get()).paint();
    }
    paintLegend(map, font.get(), top);
    return map;
}
