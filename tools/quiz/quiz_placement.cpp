#include "quiz/quiz_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <limits>
#include <map>
#include <optional>

#include "check/game_mazes.h"
#include "check/reach.h"
#include "collision/move_test.h"
#include "geometry/model.h"

namespace {

// The eye is this far above the floor an object stands on.
// A maze takes an object for each this many steps of its deepest way
// before the next maze is opened: the player searching it walks its
// branches, several times that, so a small quiz stays in the first maze.
constexpr int kStepsPerObject = 100;
// No object stands right where the player arrives; the first is sought
// from a few seconds on, where the object fits.
constexpr int kNearEntrySteps = 40;
constexpr int kMinEntrySteps = 90;
// Two objects in a row are at least this far apart where the maze allows.
constexpr int kMinGapSteps = 60;
// Objects of one maze keep apart, so a jump after a wrong answer is seen.
constexpr float kApart = 120.0f;
// A passage box this near an object's reach box might take the player away
// just as the question shows.
constexpr float kPassageMargin = 24.0f;
// After a wrong answer the object lies a few seconds' walk away.
constexpr int kOtherNear = 80;
constexpr int kOtherFar = 160;

// The reach walk's places of one maze as arrays: each place's eye, the
// place it was first reached from (-1 for a seed) and the tree's links.
struct Ground {
    std::vector<Vec3> eye;
    std::vector<int> parent;
    std::vector<int> depth;  // steps from its seed
    std::vector<int> root;   // its seed
    std::vector<std::vector<int>> children;
};

Ground groundOf(const MazeReach& reach) {
    Ground ground;
    std::map<ReachPlace, int> index;
    for (const auto& [place, eye] : reach.reached) {
        index.emplace(place, static_cast<int>(ground.eye.size()));
        ground.eye.push_back(eye);
    }
    const std::size_t count = ground.eye.size();
    ground.parent.assign(count, -1);
    ground.depth.assign(count, -1);
    ground.root.assign(count, -1);
    ground.children.resize(count);
    for (const auto& [place, from] : reach.cameFrom) {
        const auto child = index.find(place);
        const auto parent = index.find(from);
        if (child == index.end() || parent == index.end()) continue;
        ground.parent[child->second] = parent->second;
        ground.children[parent->second].push_back(child->second);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (ground.parent[i] != -1) continue;
        std::deque<int> open{static_cast<int>(i)};
        ground.depth[i] = 0;
        ground.root[i] = static_cast<int>(i);
        while (!open.empty()) {
            const int at = open.front();
            open.pop_front();
            for (const int child : ground.children[at]) {
                ground.depth[child] = ground.depth[at] + 1;
                ground.root[child] = ground.root[i];
                open.push_back(child);
            }
        }
    }
    return ground;
}

// Steps along the walk's tree from `from` to every place of its tree (-1
// for places of other trees): the way the player was found to come, in
// either direction.
std::vector<int> stepsFrom(const Ground& ground, int from) {
    std::vector<int> steps(ground.eye.size(), -1);
    std::deque<int> open{from};
    steps[from] = 0;
    while (!open.empty()) {
        const int at = open.front();
        open.pop_front();
        const auto visit = [&](int next) {
            if (next >= 0 && steps[next] < 0) {
                steps[next] = steps[at] + 1;
                open.push_back(next);
            }
        };
        visit(ground.parent[at]);
        for (const int child : ground.children[at]) visit(child);
    }
    return steps;
}

bool overlaps(const Box& a, const Box& b) {
    return a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y &&
           a.min.z <= b.max.z && b.min.z <= a.max.z;
}

float apart(const Vec3& a, const Vec3& b) { return std::hypot(a.x - b.x, a.z - b.z); }

Vec3 floorUnder(const Vec3& eye) { return Vec3{eye.x, eye.y - kEyeHeight, eye.z}; }

// Steps from a maze's entry within which an object is sought.
struct Slice {
    int from = 0;
    int to = 0;
    int gap = 0;  // steps from the object before below which a place is a last resort
};

// One maze on the player's way: where it is entered and where an object
// may stand in it.
struct Leg {
    int maze = 0;
    int entry = 0;               // place index in the maze's ground
    std::vector<int> candidates;  // in the entry's tree, clear of passages
    int farthest = 0;             // steps from the entry to the farthest candidate
    int exit = -1;                // where the way on to the next maze is first reached
};

class Placer {
public:
    Placer(const LogicFileContents& base, std::span<Model* const> mazes)
        : mazes_(mazes), walk_(walkReach(base, mazes, kMazeHome)) {
        for (const MazeReach& reach : walk_.mazes) grounds_.push_back(groundOf(reach));
    }

    bool route(std::string& problem) {
        if (grounds_.empty() || grounds_[0].eye.empty()) {
            problem = "the first maze has no floor at the home (790, 40, -105) where the game begins";
            return false;
        }
        const auto home = walk_.mazes[0].reached.find(walk_.mazes[0].placeOf(kMazeHome));
        if (home == walk_.mazes[0].reached.end()) {
            problem = "the first maze has no floor at the home (790, 40, -105) where the game begins";
            return false;
        }
        int entry = static_cast<int>(std::distance(walk_.mazes[0].reached.begin(), home));
        std::vector<bool> visited(grounds_.size(), false);
        for (int maze = 0; maze >= 0;) {
            visited[maze] = true;
            legs_.push_back(leg(maze, entry));
            maze = nextMaze(legs_.back(), visited, entry, legs_.back().exit);
        }
        return true;
    }

    bool place(std::span<const Model* const> objects, std::span<const std::optional<ObjectPin>> pins,
               std::vector<PlacedObject>& placed, std::string& problem, std::size_t& failed) {
        std::vector<std::size_t> legOf;
        if (!assignLegs(objects.size(), pins, legOf, problem, failed)) return false;
        std::vector<int> counts(legs_.size(), 0);
        for (const std::size_t l : legOf) ++counts[l];
        std::size_t l = 0;
        int from = legs_.empty() ? 0 : legs_[0].entry;
        int k = 0;
        int carried = 0;  // steps through earlier mazes since the last object
        for (std::size_t next = 0; next < objects.size(); ++next, ++k) {
            for (; l < legOf[next]; ++l, k = 0) {  // on through the way out
                if (legs_[l].exit >= 0) carried += std::max(0, stepsFrom(grounds_[legs_[l].maze], from)[legs_[l].exit]);
                from = legs_[l + 1].entry;
            }
            const Leg& leg = legs_[l];
            PlacedObject object;
            object.maze = leg.maze;
            object.firstInMaze = k == 0 && l > 0;
            // Later objects further on: the k-th of the maze's slices of
            // distance from its entry, each as far from the object before as
            // its slice allows (another branch: a search).
            const int span = leg.farthest - kMinEntrySteps;
            const Slice slice{kMinEntrySteps + span * k / counts[l], kMinEntrySteps + span * (k + 1) / counts[l],
                              std::max(kMinGapSteps, span / counts[l])};
            std::optional<Vec3> pin;
            if (next < pins.size() && pins[next]) pin = pins[next]->place;
            if (!placeOne(leg, *objects[next], from, slice, pin, placed, object, problem)) {
                problem = "question " + std::to_string(next + 1) + ": " + problem;
                failed = next;
                return false;
            }
            object.steps += carried;
            carried = 0;
            placed.push_back(object);
            from = placeIndex_;
        }
        return true;
    }

    // Which maze on the way each question's object goes into: the shares,
    // but a pinned object into its mark's maze, and the ones between pins
    // no earlier than the pin before nor later than the pin after.
    bool assignLegs(std::size_t count, std::span<const std::optional<ObjectPin>> pins,
                    std::vector<std::size_t>& legOf, std::string& problem, std::size_t& failed) const {
        const std::vector<int> counts = share(static_cast<int>(count));
        for (std::size_t l = 0; l < counts.size(); ++l) legOf.insert(legOf.end(), counts[l], l);
        std::vector<std::optional<std::size_t>> pinned(count);
        std::size_t last = 0;
        for (std::size_t i = 0; i < count && i < pins.size(); ++i) {
            if (!pins[i]) continue;
            const auto on = std::find_if(legs_.begin(), legs_.end(),
                                         [&](const Leg& leg) { return leg.maze == pins[i]->maze; });
            if (on == legs_.end()) {
                problem = "question " + std::to_string(i + 1) + ": its mark is in maze " +
                          std::to_string(pins[i]->maze) + ", which no passage on the way from maze 0 reaches";
                failed = i;
                return false;
            }
            const auto l = static_cast<std::size_t>(on - legs_.begin());
            if (l < last) {
                problem = "question " + std::to_string(i + 1) + ": its mark is in maze " +
                          std::to_string(pins[i]->maze) +
                          ", which the way passes before the mark of an earlier question: the mazes "
                          "are visited in order, so put the questions in that order";
                failed = i;
                return false;
            }
            pinned[i] = last = l;
        }
        std::size_t low = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (pinned[i]) {
                low = legOf[i] = *pinned[i];
                continue;
            }
            std::size_t high = legs_.size() - 1;
            for (std::size_t j = i + 1; j < count; ++j) {
                if (pinned[j]) {
                    high = *pinned[j];
                    break;
                }
            }
            legOf[i] = std::clamp(legOf[i], low, high);
            low = legOf[i];
        }
        return true;
    }

private:
    Leg leg(int maze, int entry) const {
        const Ground& ground = grounds_[maze];
        Leg leg{maze, entry, {}, 0};
        std::vector<Box> passages;
        for (const PassageLink& passage : walk_.passages[maze]) {
            const float m = kPassageMargin;
            passages.push_back(Box{Vec3{passage.box.min.x - m, passage.box.min.y - m, passage.box.min.z - m},
                                   Vec3{passage.box.max.x + m, passage.box.max.y + m, passage.box.max.z + m}});
        }
        for (std::size_t i = 0; i < ground.eye.size(); ++i) {
            if (ground.root[i] != ground.root[entry] || ground.depth[i] < kNearEntrySteps) continue;
            const Box reach = objectReachBox(floorUnder(ground.eye[i]));
            const bool nearPassage = std::any_of(passages.begin(), passages.end(),
                                                 [&](const Box& box) { return overlaps(box, reach); });
            if (nearPassage) continue;
            leg.candidates.push_back(static_cast<int>(i));
            leg.farthest = std::max(leg.farthest, ground.depth[i] - ground.depth[entry]);
        }
        return leg;
    }

    // The first passage of this maze the player reaches from its entry that
    // leads to a maze not yet on the way; -1 when there is none.
    int nextMaze(const Leg& leg, const std::vector<bool>& visited, int& entry, int& exit) const {
        const Ground& ground = grounds_[leg.maze];
        for (const PassageLink& passage : walk_.passages[leg.maze]) {
            const int target = passage.targetMaze;
            if (target < 0 || target >= static_cast<int>(grounds_.size()) || visited[target] ||
                grounds_[target].eye.empty())
                continue;
            bool reached = false;
            for (std::size_t i = 0; i < ground.eye.size(); ++i) {
                if (ground.root[i] != ground.root[leg.entry] || !passage.box.contains(ground.eye[i]))
                    continue;
                if (!reached || ground.depth[i] < ground.depth[exit]) exit = static_cast<int>(i);
                reached = true;
            }
            // A maze the walk entered is usable, so `leads` says only
            // whether the start point is there.
            if (!reached || !passage.leads) continue;
            const Vec3 arrival = passage.arrival;
            // The walk seeded the maze where the player lands: its nearest place.
            const Ground& next = grounds_[target];
            float best = std::numeric_limits<float>::max();
            for (std::size_t i = 0; i < next.eye.size(); ++i) {
                const float d = apart(next.eye[i], arrival) + std::fabs(next.eye[i].y - arrival.y);
                if (d < best) {
                    best = d;
                    entry = static_cast<int>(i);
                }
            }
            return target;
        }
        return -1;
    }

    // How many objects each maze on the way takes: the first mazes as many
    // as fit; when all do not, every maze a share of its length.
    std::vector<int> share(int count) const {
        std::vector<int> counts(legs_.size(), 0);
        int left = count;
        for (std::size_t l = 0; l < legs_.size() && left > 0; ++l) {
            const int fits = std::max(1, legs_[l].farthest / kStepsPerObject);
            counts[l] = std::min(left, fits);
            left -= counts[l];
        }
        if (left == 0) return counts;
        int total = 0;
        for (const Leg& leg : legs_) total += leg.farthest;
        std::fill(counts.begin(), counts.end(), 0);
        int given = 0;
        for (std::size_t l = 0; l < legs_.size(); ++l) {
            counts[l] = total > 0 ? count * legs_[l].farthest / total : 0;
            given += counts[l];
        }
        for (std::size_t l = 0; given < count; l = (l + 1) % legs_.size(), ++given) ++counts[l];
        return counts;
    }

    // `own` is the object's first place when its second is sought. Only
    // one object shows at a time, so a small maze may let objects share
    // ground (`strict` off); an object's own two places stay apart always.
    static bool clearOfOthers(int maze, const Vec3& p, const std::vector<PlacedObject>& placed,
                              const Vec3* own, bool strict) {
        for (const PlacedObject& other : placed) {
            if (!strict || other.maze != maze) continue;
            if (apart(other.position, p) < kApart || apart(other.otherPosition, p) < kApart) return false;
        }
        return !own || apart(*own, p) >= kApart;
    }

    // Far from the object before, and inside the slice: a step outside it
    // costs one of the way (held harder, the last slices of a maze of narrow
    // ways crowd their objects together).
    bool sought(const Leg& leg, const Model& object, const std::vector<int>& fromSteps,
                const Slice& slice, const std::vector<PlacedObject>& placed, PlacedObject& out) {
        const Ground& ground = grounds_[leg.maze];
        const int entryDepth = ground.depth[leg.entry];
        std::vector<int> order = leg.candidates;
        const auto score = [&](int i) {
            const int d = ground.depth[i] - entryDepth;
            const int off = d < slice.from ? slice.from - d : d > slice.to ? d - slice.to : 0;
            return off - fromSteps[i] + (fromSteps[i] < slice.gap ? 100000 : 0);
        };
        // Stable: among equal scores the candidates' own order decides, the
        // same with every standard library (the quiz maker page's is another).
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return score(a) < score(b); });
        const int i = firstStanding(leg, object, order, placed, nullptr);
        if (i < 0) return false;
        out.position = floorUnder(ground.eye[i]);
        out.steps = fromSteps[i];
        placeIndex_ = i;
        return true;
    }

    // The first candidate of `order` where the object stands and keeps
    // clear of the others, strictly first, then sharing ground; -1 for none.
    int firstStanding(const Leg& leg, const Model& object, const std::vector<int>& order,
                      const std::vector<PlacedObject>& placed, const Vec3* own) const {
        const Ground& ground = grounds_[leg.maze];
        for (const bool strict : {true, false}) {
            for (const int i : order) {
                const Vec3 p = floorUnder(ground.eye[i]);
                if (clearOfOthers(leg.maze, p, placed, own, strict) &&
                    standingProblem(*mazes_[leg.maze], object, p).empty())
                    return i;
            }
        }
        return -1;
    }

    // Where the author's mark put it, if a player reaches it and it stands.
    bool pinned(const Leg& leg, const Model& object, const Vec3& pin, const std::vector<int>& fromSteps,
                PlacedObject& out, std::string& problem) {
        const Ground& ground = grounds_[leg.maze];
        const Box reach = objectReachBox(pin);
        int nearest = -1;
        for (std::size_t i = 0; i < ground.eye.size(); ++i) {
            if (fromSteps[i] < 0 || !reach.contains(ground.eye[i])) continue;
            if (nearest < 0 || apart(ground.eye[i], pin) < apart(ground.eye[nearest], pin))
                nearest = static_cast<int>(i);
        }
        if (nearest < 0) {
            problem = "its place cannot be reached by a walking player from where the game begins";
            return false;
        }
        if (const std::string standing = standingProblem(*mazes_[leg.maze], object, pin); !standing.empty()) {
            problem = "its object at its place " + standing;
            return false;
        }
        out.position = pin;
        out.steps = fromSteps[nearest];
        placeIndex_ = nearest;
        return true;
    }

    bool placeOne(const Leg& leg, const Model& object, int from, const Slice& slice,
                  const std::optional<Vec3>& pin, const std::vector<PlacedObject>& placed,
                  PlacedObject& out, std::string& problem) {
        const Ground& ground = grounds_[leg.maze];
        const std::vector<int> fromSteps = stepsFrom(ground, from);
        if (pin) {
            if (!pinned(leg, object, *pin, fromSteps, out, problem)) return false;
        } else if (!sought(leg, object, fromSteps, slice, placed, out)) {
            problem = "no place left in maze " + std::to_string(leg.maze) +
                      " where its object can stand and turn: use a smaller object";
            return false;
        }
        // A wrong answer sends the object a few seconds' walk away.
        const std::vector<int> otherSteps = stepsFrom(ground, placeIndex_);
        std::vector<int> others = leg.candidates;
        const auto otherScore = [&](int i) {
            const int s = otherSteps[i];
            return s >= kOtherNear && s <= kOtherFar ? std::abs(s - (kOtherNear + kOtherFar) / 2)
                                                     : 1000 + std::abs(s - kOtherFar);
        };
        std::stable_sort(others.begin(), others.end(),
                         [&](int a, int b) { return otherScore(a) < otherScore(b); });
        if (const int i = firstStanding(leg, object, others, placed, &out.position); i >= 0) {
            out.otherPosition = floorUnder(ground.eye[i]);
            return true;
        }
        problem = "no second place in maze " + std::to_string(leg.maze) +
                  " for its object after a wrong answer: use a smaller object";
        return false;
    }

    std::span<Model* const> mazes_;
    ReachWalk walk_;
    std::vector<Ground> grounds_;
    std::vector<Leg> legs_;
    int placeIndex_ = 0;
};

}  // namespace

bool placeObjects(const LogicFileContents& base, std::span<Model* const> mazes,
                  std::span<const Model* const> objects, std::span<const std::optional<ObjectPin>> pins,
                  std::vector<PlacedObject>& placed, std::string& problem, std::size_t& failedQuestion) {
    Placer placer(base, mazes);
    placed.clear();
    failedQuestion = 0;
    return placer.route(problem) && placer.place(objects, pins, placed, problem, failedQuestion);
}
