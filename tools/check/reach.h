#pragma once
// Where a walking player can go: a flood of the game's own move test over
// each maze's floors, from the first maze's home and from every passage
// arrival a reachable passage leads to. Check reports from it what of the
// logic file lies out of reach (objects, passage boxes) or stands wrong
// (start points off the floor or inside a passage box, objects floating or
// in a wall); the map shades the floor it reached, the quiz builder places
// on it, and the playtest routes over the same lattice with the same steps.
// There is one walk: they all use this.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/vec3.h"
#include "logic/logic_file_parser.h"
#include "logic/world.h"  // objectReachBox: the game's own reach

struct Model;

// The walking step: the flood moves the eye 8 units along x or z at a time,
// which is what Up, Down and the sidesteps do at the slower speed.
inline constexpr float kReachStep = 8.0f;

// The four steps of the lattice, as world offsets: east (+x), west (-x),
// south (+z), north (-z).
inline constexpr int kLatticeSteps = 4;
inline constexpr std::array<std::array<float, 2>, kLatticeSteps> kLatticeOffsets{
    {{kReachStep, 0.0f}, {-kReachStep, 0.0f}, {0.0f, kReachStep}, {0.0f, -kReachStep}}};

// An eye position is one lattice point (x and z in steps from the maze's
// first seed) at one height: a gallery above a hall is another place than
// the hall under it.
using ReachPlace = std::tuple<int, int, int>;

struct MazeReach {
    std::map<ReachPlace, Vec3> reached;  // lattice place -> the eye there, as the game put it
    // Where each place was first reached from (the seeds have none): a
    // route back to the seed follows these.
    std::map<ReachPlace, ReachPlace> cameFrom;
    std::set<ReachPlace> seeded;
    // Reached places inside a passage box: the game moves the player on
    // from them at once, so no question shows and nothing stands there.
    std::set<ReachPlace> passedOn;
    // Every flood of a maze keys its places on the first flood's lattice,
    // so a later one stops where it meets ground already walked.
    std::optional<Vec3> origin;

    ReachPlace placeOf(const Vec3& eye) const;
    // Whether the eye gets into the box at all (a passage box: it is taken).
    bool anyInside(const Box& box) const;
    // Whether the eye can be inside the box and stay in this maze (an
    // object's reach box: its question shows).
    bool anyStandingInside(const Box& box) const;
};

// A passage as the walk and the routes take it. The game moves the player
// on at the first step that ends in the box, so a walk goes no further from
// a place inside it.
struct PassageLink {
    int line = 0;  // of the E record
    Box box;
    std::int32_t targetMaze = 0;
    std::int32_t targetStartPoint = 0;
    bool leads = false;  // the target maze is usable and has that start point
    Vec3 arrival;        // that start point: where the game puts the eye
};

struct ReachWalk {
    std::vector<MazeReach> mazes;  // one per maze, as given
    // Per maze, its passages in file order (the order the game tests them
    // in), as the walk took them: the map, the routes and the placement
    // take them from here.
    std::vector<std::vector<PassageLink>> passages;
};

// Floods maze 0 from `home`, then every maze a reached passage leads to from
// its arrival, until no reached passage leads anywhere new. `mazes[i]` is
// maze i's model (loaded, with its grid, or null).
ReachWalk walkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                    const Vec3& home);

// "Data\krv.lgk:LINE: reason", the way every finding about the logic file is told.
std::string logicFileLine(int line, const std::string& reason);
// A place in whole units, as authors write and read them: "(790, 40, -105)".
std::string describePoint(const Vec3& p);

// Why `object` cannot stand at `position` in `maze` (empty when it can): no
// floor under it, floating or sunk, or, as it turns, reaching into a wall
// or the skirting.
std::string standingProblem(const Model& maze, const Model& object, const Vec3& position);

// One problem per finding, "Data\krv.lgk:line: reason", in file order.
// `objects` is the model of each object record in file order (none where it
// failed to load).
std::vector<std::string> checkReach(const LogicFileContents& contents, std::span<Model* const> mazes,
                                    std::span<const Model* const> objects, const Vec3& home);

// ---- routes over the walk's lattice ----

// One step of a route: which lattice step, and the maze and eye after it as
// the game has them (after the passage the step may have entered).
struct RouteStep {
    int step = 0;  // index into kLatticeOffsets
    std::int32_t maze = 0;
    Vec3 eye;
};

// Shortest walks between eye positions, through the passages as the game
// takes them. The steps are the flood's, keyed on the walk's lattice.
class Router {
public:
    Router(std::span<Model* const> mazes, const ReachWalk& walk);

    // The fewest steps from `eye` in `maze` until the eye is inside `goal`
    // in `goalMaze` (at least one step: the game tests only after a move);
    // none when no walk gets there. A passage box is never walked through:
    // entering it is arriving at its start point.
    std::optional<std::vector<RouteStep>> route(std::int32_t maze, const Vec3& eye,
                                                std::int32_t goalMaze, const Box& goal) const;


private:
    bool usable(std::int32_t maze) const;

    std::vector<Model*> mazes_;
    std::vector<std::vector<PassageLink>> passages_;
    std::vector<MazeReach> lattices_;  // the walk's lattice origins, nothing reached
};
