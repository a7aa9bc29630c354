#pragma once
// The one test every step of the player goes through: may the eye move to
// the proposed position, and at what height does it land.

#include "geometry/vec3.h"

struct Model;

// World units. The probe is held kEyeHeight below the proposed eye.
constexpr float kEyeHeight = 40.0f;
constexpr float kHeadRoom = 80.0f;     // a ceiling closer than this above the probe blocks
constexpr float kStepHeight = 15.0f;   // a floor at most this above the probe can be climbed
constexpr float kFallHeight = 100.0f;  // landing further below the probe sets the bump flag

// On true the eye has been put kEyeHeight above the floor found under the
// proposed position (any drop, a climb of at most kStepHeight) and the
// model's bump flag tells whether it fell more than kFallHeight. On false
// (outside the grid, no floor, floor too high, ceiling too low, or a model
// without a grid) position and bump flag are exactly as they were: there is
// no sliding along walls.
bool checkMove(Model& model, Vec3& position, const Vec3& proposed);
