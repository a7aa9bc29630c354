#include "check/reach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>

#include "collision/collision_grid.h"
#include "collision/height_query.h"
#include "collision/move_test.h"
#include "geometry/model.h"
#include "logic/logic_file.h"
#include "logic/world.h"

namespace {

// An object may rest this far above or below the floor under its centre.
constexpr float kStandTolerance = 4.0f;
// The flood gives up beyond this many places (a maze 16,000 units square).
constexpr std::size_t kMaxPlaces = 4'000'000;

// Floods from `start` (an eye as placed by the game: the first accepted
// step puts it 40 above the floor).
void flood(Model& maze, const Vec3& start, MazeReach& reach) {
    std::deque<Vec3> open;
    if (!reach.origin) reach.origin = start;
    open.push_back(start);
    reach.reached.emplace(reach.placeOf(start), start);
    const float steps[4][2] = {{kReachStep, 0}, {-kReachStep, 0}, {0, kReachStep}, {0, -kReachStep}};
    while (!open.empty() && reach.reached.size() < kMaxPlaces) {
        const Vec3 eye = open.front();
        open.pop_front();
        for (const auto& step : steps) {
            Vec3 moved = eye;
            const Vec3 proposed{eye.x + step[0], eye.y, eye.z + step[1]};
            if (!checkMove(maze, moved, proposed)) continue;
            const ReachPlace place = reach.placeOf(moved);
            if (reach.reached.emplace(place, moved).second) {
                reach.cameFrom.emplace(place, reach.placeOf(eye));
                open.push_back(moved);
            }
        }
    }
    maze.bumpFlag = 0;
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
}  // namespace

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

ReachPlace MazeReach::placeOf(const Vec3& eye) const {
    const Vec3 o = origin.value_or(Vec3{});
    return {static_cast<int>(std::lround((eye.x - o.x) / kReachStep)),
            static_cast<int>(std::lround((eye.z - o.z) / kReachStep)),
            static_cast<int>(std::lround(eye.y))};
}

bool MazeReach::anyInside(const Box& box) const {
    return std::any_of(reached.begin(), reached.end(),
                       [&](const auto& place) { return box.contains(place.second); });
}

Box objectReachBox(const Vec3& p) {
    const float r = World::kReach;
    return Box{Vec3{p.x - r, p.y - r, p.z - r}, Vec3{p.x + r, p.y + r, p.z + r}};
}

ReachWalk walkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                    const Vec3& home) {
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
    ReachWalk walk;
    walk.mazes.resize(mazes.size());
    std::vector<MazeReach>& reach = walk.mazes;
    if (usable(0)) flood(*mazes[0], home, reach[0]);
    for (bool grew = true; grew;) {
        grew = false;
        for (const LogicRecord& record : contents.records) {
            const auto* passage = std::get_if<LogicPassage>(&record.value);
            if (!passage || !usable(record.maze) || !reach[record.maze].anyInside(passage->box))
                continue;
            Vec3 arrival;
            if (!startPoint(passage->targetMaze, passage->targetStartPoint, arrival)) continue;
            MazeReach& target = reach[passage->targetMaze];
            // Arrivals are told apart by where they are, on a lattice of
            // their own (the maze's may not exist yet).
            const ReachPlace key{static_cast<int>(std::lround(arrival.x / kReachStep)),
                                 static_cast<int>(std::lround(arrival.z / kReachStep)),
                                 static_cast<int>(std::lround(arrival.y))};
            if (!target.seeded.insert(key).second) continue;
            // The game puts the eye at the start point as it is; the first
            // step then brings it down onto the floor.
            Vec3 landed = arrival;
            if (!checkMove(*mazes[passage->targetMaze], landed, arrival)) continue;
            flood(*mazes[passage->targetMaze], landed, target);
            grew = true;
        }
    }
    return walk;
}

std::vector<std::string> checkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                                    std::span<const Model* const> objects, const Vec3& home) {
    const auto mazeCount = static_cast<std::int32_t>(mazes.size());
    const auto usable = [&](std::int32_t m) {
        return m >= 0 && m < mazeCount && mazes[m] && mazes[m]->loaded && mazes[m]->collisionGrid;
    };
    const ReachWalk walk = walkReach(contents, mazes, home);
    const std::vector<MazeReach>& reach = walk.mazes;

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
                if (!reach[m].anyInside(objectReachBox(places[k]))) {
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
            if (usable(m) && !reach[m].anyInside(passage->box)) {
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
