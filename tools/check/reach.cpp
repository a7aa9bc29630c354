#include "check/reach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "collision/collision_grid.h"
#include "collision/height_query.h"
#include "collision/move_test.h"
#include "geometry/model.h"
#include "logic/logic_file.h"
#include "logic/world.h"

namespace {

// The walking step: the flood moves the eye 8 units along x or z at a time,
// which is what Up and the sidesteps do at the slower speed.
constexpr float kStep = 8.0f;
// An eye position is one lattice point at one height: a gallery above a
// hall is another place than the hall under it.
using Place = std::tuple<int, int, int>;
// An object may rest this far above or below the floor under its centre.
constexpr float kStandTolerance = 4.0f;
// The flood gives up beyond this many places (a maze 16,000 units square).
constexpr std::size_t kMaxPlaces = 4'000'000;

struct MazeReach {
    std::map<Place, Vec3> reached;  // lattice place -> the eye there
    std::set<Place> seeded;
    // Every flood of a maze keys its places on the first flood's lattice,
    // so a later one stops where it meets ground already walked.
    std::optional<Vec3> origin;
};

Place placeOf(const Vec3& origin, const Vec3& eye) {
    return {static_cast<int>(std::lround((eye.x - origin.x) / kStep)),
            static_cast<int>(std::lround((eye.z - origin.z) / kStep)),
            static_cast<int>(std::lround(eye.y))};
}

// Floods from `start` (an eye as placed by the game: the first accepted
// step puts it 40 above the floor).
void flood(Model& maze, const Vec3& start, MazeReach& reach) {
    std::deque<Vec3> open;
    if (!reach.origin) reach.origin = start;
    const Vec3 origin = *reach.origin;
    open.push_back(start);
    reach.reached.emplace(placeOf(origin, start), start);
    const float steps[4][2] = {{kStep, 0}, {-kStep, 0}, {0, kStep}, {0, -kStep}};
    while (!open.empty() && reach.reached.size() < kMaxPlaces) {
        const Vec3 eye = open.front();
        open.pop_front();
        for (const auto& step : steps) {
            Vec3 moved = eye;
            const Vec3 proposed{eye.x + step[0], eye.y, eye.z + step[1]};
            if (!checkMove(maze, moved, proposed)) continue;
            if (reach.reached.emplace(placeOf(origin, moved), moved).second) open.push_back(moved);
        }
    }
    maze.bumpFlag = 0;
}

bool anyInside(const MazeReach& reach, const Box& box) {
    return std::any_of(reach.reached.begin(), reach.reached.end(),
                       [&](const auto& place) { return box.contains(place.second); });
}

Box reachBox(const Vec3& p) {
    const float r = World::kReach;
    return Box{Vec3{p.x - r, p.y - r, p.z - r}, Vec3{p.x + r, p.y + r, p.z + r}};
}

std::string at(int line, const std::string& reason) {
    return std::string(kLogicFile) + ":" + std::to_string(line) + ": " + reason;
}


// Whole units are what authors write and read in the logic file.
std::string describe(const Vec3& p) {
    const auto number = [](float v) { return std::to_string(std::lround(v)); };
    return "(" + number(p.x) + ", " + number(p.y) + ", " + number(p.z) + ")";
}

// How an object stands at p in its maze: on the floor, and, as it turns,
// clear of walls and skirting: every point of the circle its widest part
// sweeps has floor at about the height under its centre.
std::string standingProblem(const Model& maze, const Model& object, const Vec3& p) {
    if (!maze.collisionGrid || object.pointCount < 1) return {};
    float low = object.points[1].y;
    float radius = 0.0f;
    for (int i = 1; i <= object.pointCount; ++i) {
        const Vec3& q = object.points[i];
        low = std::min(low, q.y);
        radius = std::max(radius, std::sqrt(q.x * q.x + q.z * q.z));
    }
    const float base = p.y + low;
    const auto floorAt = [&](float x, float z, float& floorY) {
        float floorDist = 0.0f, ceilingDist = 0.0f;
        // Probe a step above the base so that a floor just under it is found.
        const float probeY = base + kStepHeight;
        if (!queryHeights(*maze.collisionGrid, x, probeY, z, floorDist, ceilingDist) ||
            floorDist >= kNoSurface) {
            return false;
        }
        floorY = probeY + floorDist;
        return true;
    };
    float centreFloor = 0.0f;
    if (!floorAt(p.x, p.z, centreFloor)) return "has no floor under it";
    if (base > centreFloor + kStandTolerance) {
        return "floats " + std::to_string(static_cast<int>(base - centreFloor)) +
               " units above the floor";
    }
    if (base < centreFloor - kStandTolerance) {
        return "sinks " + std::to_string(static_cast<int>(centreFloor - base)) +
               " units into the floor";
    }
    constexpr int kProbes = 16;
    for (int k = 0; k < kProbes; ++k) {
        const int degrees = k * 360 / kProbes;
        const float angle = static_cast<float>(degrees) * 3.14159265f / 180.0f;
        const float x = p.x + radius * std::cos(angle);
        const float z = p.z + radius * std::sin(angle);
        float floorY = 0.0f;
        if (!floorAt(x, z, floorY) || std::fabs(floorY - centreFloor) > kStandTolerance) {
            return "turns into a wall or the skirting: keep its centre " +
                   std::to_string(static_cast<int>(std::ceil(radius))) +
                   " units clear of them (near " + describe(Vec3{x, p.y, z}) + ")";
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> checkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                                    std::span<const Model* const> objects, const Vec3& home) {
    const auto mazeCount = static_cast<std::int32_t>(mazes.size());
    const auto usable = [&](std::int32_t m) {
        return m >= 0 && m < mazeCount && mazes[m] && mazes[m]->loaded && mazes[m]->collisionGrid;
    };
    // Start points per maze, in file order.
    std::vector<std::vector<const LogicRecord*>> starts(mazes.size());
    for (const LogicRecord& record : contents.records) {
        if (std::holds_alternative<LogicStartPoint>(record.value) && usable(record.maze)) {
            starts[record.maze].push_back(&record);
        }
    }
    const auto startPoint = [&](std::int32_t maze, std::int32_t index, Vec3& eye) {
        if (!usable(maze) || index < 0 || index >= static_cast<std::int32_t>(starts[maze].size()))
            return false;
        const StartPoint& p = std::get<LogicStartPoint>(starts[maze][index]->value).point;
        eye = Vec3{p.x, p.y, p.z};
        return true;
    };

    // Flood until no reachable passage leads anywhere new.
    std::vector<MazeReach> reach(mazes.size());
    if (usable(0)) flood(*mazes[0], home, reach[0]);
    for (bool grew = true; grew;) {
        grew = false;
        for (const LogicRecord& record : contents.records) {
            const auto* passage = std::get_if<LogicPassage>(&record.value);
            if (!passage || !usable(record.maze) || !anyInside(reach[record.maze], passage->box))
                continue;
            Vec3 arrival;
            if (!startPoint(passage->targetMaze, passage->targetStartPoint, arrival)) continue;
            MazeReach& target = reach[passage->targetMaze];
            const Place key = placeOf(Vec3{}, arrival);
            if (!target.seeded.insert(key).second) continue;
            // The game puts the eye at the start point as it is; the first
            // step then brings it down onto the floor.
            Vec3 landed = arrival;
            if (!checkMove(*mazes[passage->targetMaze], landed, arrival)) continue;
            flood(*mazes[passage->targetMaze], landed, target);
            grew = true;
        }
    }

    std::vector<std::string> problems;
    std::size_t objectIndex = 0;
    for (const LogicRecord& record : contents.records) {
        const std::int32_t m = record.maze;
        if (const auto* object = std::get_if<LogicObject>(&record.value)) {
            const Model* model = objectIndex < objects.size() ? objects[objectIndex] : nullptr;
            ++objectIndex;
            if (!usable(m)) continue;
            const Vec3 places[2] = {object->position, object->otherPosition};
            for (int k = 0; k < 2; ++k) {
                const char* which = k == 0 ? "position" : "other position";
                if (k == 1 && places[1] == places[0]) break;
                if (!anyInside(reach[m], reachBox(places[k]))) {
                    problems.push_back(at(record.line, "object '" + object->name + "' at its " +
                                                           which + " " + describe(places[k]) +
                                                           " cannot be reached by a walking player"));
                }
                if (model && model->loaded) {
                    const std::string standing = standingProblem(*mazes[m], *model, places[k]);
                    if (!standing.empty()) {
                        problems.push_back(at(record.line, "object '" + object->name + "' at its " +
                                                               which + " " + standing));
                    }
                }
            }
        } else if (const auto* passage = std::get_if<LogicPassage>(&record.value)) {
            if (usable(m) && !anyInside(reach[m], passage->box)) {
                problems.push_back(
                    at(record.line, "the passage box from " + describe(passage->box.min) + " to " +
                                        describe(passage->box.max) + " in maze " +
                                        std::to_string(m) + " cannot be reached by a walking player"));
            }
        } else if (const auto* start = std::get_if<LogicStartPoint>(&record.value)) {
            if (!usable(m)) continue;
            Vec3 eye{start->point.x, start->point.y, start->point.z};
            Vec3 landed = eye;
            if (!checkMove(*mazes[m], landed, eye)) {
                problems.push_back(at(record.line, "start point " + describe(eye) + " of maze " +
                                                       std::to_string(m) +
                                                       " has no floor a player can stand on"));
                continue;
            }
            // Arriving inside a passage box leads on at the first step.
            for (const LogicRecord& other : contents.records) {
                const auto* passage = std::get_if<LogicPassage>(&other.value);
                if (passage && other.maze == m && passage->box.contains(landed)) {
                    problems.push_back(at(record.line, "start point " + describe(eye) +
                                                           " lies inside the passage box of line " +
                                                           std::to_string(other.line) +
                                                           ": the first step leads straight on"));
                }
            }
        }
    }
    return problems;
}
