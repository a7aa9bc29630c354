#pragma once
// Where each question's object stands: on floor the player reaches, clear
// of walls as it spins, spread along the way so that each search takes a
// while and later objects lie further on; more objects than one maze holds
// go on into the next maze by its passage. The ground is check's one reach
// walk (walkReach); this only chooses among the places it reached.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "logic/logic_file_parser.h"

struct Model;

// The player's pace: a step of 8 units per loop iteration, 30 a second.
inline constexpr float kStepsPerSecond = 30.0f;

struct PlacedObject {
    int maze = 0;
    Vec3 position;       // on the floor
    Vec3 otherPosition;  // after a wrong answer: elsewhere in the same maze
    bool firstInMaze = false;
    // Steps of the walk from the object before (or the maze's entry) to
    // this one, along the reach walk's ways.
    int steps = 0;

    float seconds() const { return static_cast<float>(steps) / kStepsPerSecond; }
};

// Where an author's mark puts an object: a place on the floor of a maze.
struct ObjectPin {
    int maze = 0;
    Vec3 place;
};

// `base` holds the mazes' start points and passages; `objects` the model of
// each object in question order; `pins` where an author's mark put one, if
// anywhere. False, with the reason and the (0-based) question it concerns,
// when the mazes cannot hold them all.
bool placeObjects(const LogicFileContents& base, std::span<Model* const> mazes,
                  std::span<const Model* const> objects, std::span<const std::optional<ObjectPin>> pins,
                  std::vector<PlacedObject>& placed, std::string& problem, std::size_t& failedQuestion);
