#include "check/reach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <unordered_set>

#include "collision/height_query.h"
#include "collision/move_test.h"
#include "geometry/collision_grid.h"
#include "geometry/model.h"
#include "logic/logic_file.h"
#include "logic/world.h"

namespace {

// An object may rest this far above or below the floor under its centre.
constexpr float kStandTolerance = 4.0f;
// The flood gives up beyond this many places (a maze 16,000 units square).
constexpr std::size_t kMaxPlaces = 4'000'000;

// A maze with a model the move test can walk on.
bool usableMaze(std::span<Model* const> mazes, std::int32_t m) {
    return m >= 0 && m < static_cast<std::int32_t>(mazes.size()) && mazes[m] && mazes[m]->loaded &&
           mazes[m]->collisionGrid;
}

bool insideAny(const std::vector<PassageLink>& passages, const Vec3& eye) {
    return std::any_of(passages.begin(), passages.end(),
                       [&](const PassageLink& passage) { return passage.box.contains(eye); });
}

// One lattice step of the game's move test; false where it refuses.
bool takeStep(Model& maze, const Vec3& eye, int step, Vec3& moved) {
    moved = eye;
    const Vec3 proposed{eye.x + kLatticeOffsets[step][0], eye.y, eye.z + kLatticeOffsets[step][1]};
    return checkMove(maze, moved, proposed);
}

// Floods from `start` (an eye as placed by the game: the first accepted
// step puts it 40 above the floor). A place inside a passage box is reached
// but leads nowhere in this maze: the game has moved the player on.
void flood(Model& maze, const Vec3& start, const std::vector<PassageLink>& passages,
           MazeReach& reach) {
    std::deque<Vec3> open;
    if (!reach.origin) reach.origin = start;
    open.push_back(start);
    reach.reached.emplace(reach.placeOf(start), start);
    bool seed = true;
    while (!open.empty() && reach.reached.size() < kMaxPlaces) {
        const Vec3 eye = open.front();
        open.pop_front();
        if (!seed && insideAny(passages, eye)) {
            reach.passedOn.insert(reach.placeOf(eye));
            continue;
        }
        seed = false;
        for (int step = 0; step < kLatticeSteps; ++step) {
            Vec3 moved;
            if (!takeStep(maze, eye, step, moved)) continue;
            const ReachPlace place = reach.placeOf(moved);
            if (reach.reached.emplace(place, moved).second) {
                reach.cameFrom.emplace(place, reach.placeOf(eye));
                open.push_back(moved);
            }
        }
    }
    maze.bumpFlag = 0;
}

}  // namespace

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
                   " units clear of them (near " + describePoint(Vec3{x, p.y, z}) + ")";
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

bool MazeReach::anyStandingInside(const Box& box) const {
    return std::any_of(reached.begin(), reached.end(), [&](const auto& place) {
        return box.contains(place.second) && !passedOn.contains(place.first);
    });
}

namespace {

// Per maze, its passages in file order.
std::vector<std::vector<PassageLink>> passageLinks(const LogicFileContents& contents,
                                                   std::span<Model* const> mazes) {
    const auto mazeCount = static_cast<std::int32_t>(mazes.size());
    const auto usable = [&](std::int32_t m) { return usableMaze(mazes, m); };
    // Start points per maze, in file order.
    std::vector<std::vector<Vec3>> starts(mazes.size());
    for (const LogicRecord& record : contents.records) {
        const auto* start = std::get_if<LogicStartPoint>(&record.value);
        if (start && usable(record.maze))
            starts[record.maze].push_back(Vec3{start->point.x, start->point.y, start->point.z});
    }
    std::vector<std::vector<PassageLink>> links(mazes.size());
    for (const LogicRecord& record : contents.records) {
        const auto* passage = std::get_if<LogicPassage>(&record.value);
        if (!passage || record.maze < 0 || record.maze >= mazeCount) continue;
        PassageLink link;
        link.line = record.line;
        link.box = passage->box;
        link.targetMaze = passage->targetMaze;
        link.targetStartPoint = passage->targetStartPoint;
        const std::int32_t target = passage->targetMaze;
        link.leads = usable(target) && passage->targetStartPoint >= 0 &&
                     passage->targetStartPoint < static_cast<std::int32_t>(starts[target].size());
        if (link.leads) link.arrival = starts[target][passage->targetStartPoint];
        links[record.maze].push_back(link);
    }
    return links;
}

}  // namespace

ReachWalk walkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                    const Vec3& home) {
    const auto mazeCount = static_cast<std::int32_t>(mazes.size());
    const auto usable = [&](std::int32_t m) { return usableMaze(mazes, m); };
    // Flood until no reachable passage leads anywhere new.
    ReachWalk walk;
    walk.passages = passageLinks(contents, mazes);
    const std::vector<std::vector<PassageLink>>& links = walk.passages;
    walk.mazes.resize(mazes.size());
    std::vector<MazeReach>& reach = walk.mazes;
    if (usable(0)) flood(*mazes[0], home, links[0], reach[0]);
    // In file order, as the records come: which flood reaches a maze first
    // sets its lattice.
    std::vector<std::pair<std::int32_t, const PassageLink*>> inFileOrder;
    for (std::int32_t m = 0; m < mazeCount; ++m) {
        for (const PassageLink& passage : links[m]) inFileOrder.emplace_back(m, &passage);
    }
    std::sort(inFileOrder.begin(), inFileOrder.end(),
              [](const auto& a, const auto& b) { return a.second->line < b.second->line; });
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [m, link] : inFileOrder) {
            const PassageLink& passage = *link;
            if (!passage.leads || !usable(m) || !reach[m].anyInside(passage.box)) continue;
            const Vec3 arrival = passage.arrival;
            MazeReach& target = reach[passage.targetMaze];
            // Arrivals are told apart by where they are, on a lattice of
            // their own (the maze's may not exist yet).
            const ReachPlace key = MazeReach{}.placeOf(arrival);
            if (!target.seeded.insert(key).second) continue;
            // The game puts the eye at the start point as it is; the first
            // step then brings it down onto the floor.
            Vec3 landed = arrival;
            if (!checkMove(*mazes[passage.targetMaze], landed, arrival)) continue;
            flood(*mazes[passage.targetMaze], landed, links[passage.targetMaze], target);
            grew = true;
        }
    }
    return walk;
}

std::vector<std::string> checkReach(const LogicFileContents& contents,
                                    std::span<Model* const> mazes,
                                    std::span<const Model* const> objects, const Vec3& home) {
    const auto usable = [&](std::int32_t m) { return usableMaze(mazes, m); };
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
                if (!reach[m].anyStandingInside(objectReachBox(places[k]))) {
                    problems.push_back(
                        logicFileLine(record.line, "object '" + object->name + "' at its " + which +
                                                       " " + describePoint(places[k]) +
                                                       " cannot be reached by a walking player"));
                }
                if (model && model->loaded) {
                    const std::string standing = standingProblem(*mazes[m], *model, places[k]);
                    if (!standing.empty()) {
                        problems.push_back(logicFileLine(
                            record.line,
                            "object '" + object->name + "' at its " + which + " " + standing));
                    }
                }
            }
        } else if (const auto* passage = std::get_if<LogicPassage>(&record.value)) {
            if (usable(m) && !reach[m].anyInside(passage->box)) {
                problems.push_back(logicFileLine(
                    record.line, "the passage box from " + describePoint(passage->box.min) +
                                     " to " + describePoint(passage->box.max) + " in maze " +
                                     std::to_string(m) + " cannot be reached by a walking player"));
            }
        } else if (const auto* start = std::get_if<LogicStartPoint>(&record.value)) {
            if (!usable(m)) continue;
            Vec3 eye{start->point.x, start->point.y, start->point.z};
            Vec3 landed = eye;
            if (!checkMove(*mazes[m], landed, eye)) {
                problems.push_back(logicFileLine(
                    record.line, "start point " + describePoint(eye) + " of maze " +
                                     std::to_string(m) + " has no floor a player can stand on"));
                continue;
            }
            // Arriving inside a passage box leads on at the first step.
            for (const LogicRecord& other : contents.records) {
                const auto* passage = std::get_if<LogicPassage>(&other.value);
                if (passage && other.maze == m && passage->box.contains(landed)) {
                    problems.push_back(
                        logicFileLine(record.line, "start point " + describePoint(eye) +
                                                       " lies inside the passage box of line " +
                                                       std::to_string(other.line) +
                                                       ": the first step leads straight on"));
                }
            }
        }
    }
    return problems;
}

namespace {

// A place of the route search: a lattice place of one maze.
struct RouteKey {
    std::int32_t maze = 0;
    ReachPlace place;
    bool operator==(const RouteKey&) const = default;
};

struct RouteKeyHash {
    std::size_t operator()(const RouteKey& key) const {
        const auto [x, z, y] = key.place;
        std::uint64_t h = static_cast<std::uint32_t>(key.maze);
        for (const int v : {x, z, y}) h = h * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(v);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

struct RouteNode {
    std::int32_t maze = 0;
    Vec3 eye;
    std::int64_t parent = -1;
    int step = -1;
};

}  // namespace

Router::Router(std::span<Model* const> mazes, const ReachWalk& walk)
    : mazes_(mazes.begin(), mazes.end()), passages_(walk.passages) {
    lattices_.resize(mazes.size());
    for (std::size_t m = 0; m < mazes.size() && m < walk.mazes.size(); ++m)
        lattices_[m].origin = walk.mazes[m].origin;
}

bool Router::usable(std::int32_t maze) const {
    return usableMaze(mazes_, maze);
}

std::optional<std::vector<RouteStep>> Router::route(std::int32_t maze, const Vec3& eye,
                                                    std::int32_t goalMaze, const Box& goal) const {
    if (!usable(maze)) return std::nullopt;
    const auto keyOf = [&](std::int32_t m, const Vec3& p) {
        return RouteKey{m, lattices_[m].placeOf(p)};
    };
    std::vector<RouteNode> nodes{RouteNode{maze, eye}};
    std::unordered_set<RouteKey, RouteKeyHash> seen{keyOf(maze, eye)};
    const auto pathTo = [&](std::int64_t last) {
        std::vector<RouteStep> steps;
        for (std::int64_t at = last; nodes[at].parent >= 0; at = nodes[at].parent)
            steps.push_back(RouteStep{nodes[at].step, nodes[at].maze, nodes[at].eye});
        std::reverse(steps.begin(), steps.end());
        return steps;
    };
    for (std::size_t next = 0; next < nodes.size() && nodes.size() < kMaxPlaces; ++next) {
        const RouteNode node = nodes[next];
        Model& model = *mazes_[node.maze];
        const std::int32_t bump = model.bumpFlag;
        for (int step = 0; step < kLatticeSteps; ++step) {
            RouteNode child{node.maze, {}, static_cast<std::int64_t>(next), step};
            if (!takeStep(model, node.eye, step, child.eye)) continue;
            bool deadEnd = false;
            for (const PassageLink& passage : passages_[node.maze]) {
                if (!passage.box.contains(child.eye)) continue;
                deadEnd = !passage.leads || !usable(passage.targetMaze);
                child.maze = passage.targetMaze;
                child.eye = passage.arrival;
                break;
            }
            if (deadEnd) continue;
            if (!seen.insert(keyOf(child.maze, child.eye)).second) continue;
            nodes.push_back(child);
            if (child.maze == goalMaze && goal.contains(child.eye)) {
                model.bumpFlag = bump;
                return pathTo(static_cast<std::int64_t>(nodes.size()) - 1);
            }
        }
        model.bumpFlag = bump;
    }
    return std::nullopt;
}

std::string logicFileLine(int line, const std::string& reason) {
    return std::string(kLogicFile) + ":" + std::to_string(line) + ": " + reason;
}

std::string describePoint(const Vec3& p) {
    const auto number = [](float v) { return std::to_string(std::lround(v)); };
    return "(" + number(p.x) + ", " + number(p.y) + ", " + number(p.z) + ")";
}
