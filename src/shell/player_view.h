#pragma once
// The player: an eye walking through the current maze. The renderer reads it
// every frame; walking goes through the collider's move test, turning and
// tilting through the whole-degree sine and cosine tables.

#include <cstdint>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct Model;

struct PlayerView {
    // A world point W has camera coordinates (W - position)·orientation; the
    // columns are the camera's axes in world space (0 right, 1 down the
    // screen, 2 the line of sight). The start flips world y onto the screen's
    // downward axis stretched by 1.6 and world z into the line of sight;
    // every later change multiplies on the right by a rotation, so the
    // stretch stays.
    Matrix3 orientation = initialOrientation();
    Vec3 position{20.0f, 50.0f, -70.0f};  // the eye, world coordinates, y up
    // Total tilt about the camera's x axis, whole degrees, 0 = level. Kept in
    // -359..359 (modulo 360, the same rotation) so every table lookup stays
    // inside the tables however long a tilt key is held.
    std::int32_t pitch = 0;
    Model* collider = nullptr;  // the current maze's model, not owned; none: no walking

    static Matrix3 initialOrientation();

    // Tilts by degrees (positive looks up with Page down).
    void look(int degrees);
    // Undoes the whole tilt.
    void resetLook();
    // Turns about the world's vertical axis whatever the tilt, so the horizon
    // stays level.
    void turn(int degrees);
    // Steps along the levelled line of sight, or along the camera's x axis.
    // The collider's move test decides where the eye lands; false when it
    // refused (the eye has not moved). Without a collider nothing moves and
    // the result is true.
    bool moveForward(float distance);
    bool sidestep(float distance);
    // Floats along the levelled camera's down axis with no move test: passes
    // through floors and ceilings. A positive distance moves the eye down
    // (by 1.6·distance from the start orientation).
    void moveVertical(float distance);

    void setCollider(Model* model) { collider = model; }
    void setPosition(const Vec3& point) { position = point; }

private:
    // The orientation with the tilt taken out.
    Matrix3 levelled() const;
    bool tryMove(const Vec3& proposal);
};
