#include "shell/player_view.h"

#include "collision/move_test.h"
#include "geometry/trig.h"

Matrix3 PlayerView::initialOrientation() {
    Matrix3 start;
    start.set(1.0f, 0.0f, 0.0f, 0.0f, -1.6f, 0.0f, 0.0f, 0.0f, -1.0f);
    return start;
}

void PlayerView::look(int degrees) {
    degrees = wrapDegrees(degrees);
    pitch = wrapDegrees(pitch + degrees);
    orientation.rotateX(degrees);
}

void PlayerView::resetLook() {
    orientation.rotateX(-pitch);
    pitch = 0;
}

void PlayerView::turn(int degrees) {
    degrees = wrapDegrees(degrees);
    if (pitch == 0) {
        orientation.rotateY(degrees);
        return;
    }
    // The rotation by `degrees` about (0, cp, -sp): the world's vertical axis
    // as the tilted camera sees it. For pitch 0 it is exactly Ry.
    const CosSin a = cosSinOf(degrees);
    const CosSin p = cosSinOf(pitch);
    const float c = a.c;
    const float s = a.s;
    const float cp = p.c;
    const float sp = p.s;
    const float l = sp * sp * c + cp * cp;
    const float o = (c - 1.0f) * sp * cp;
    Matrix3 rotation;
    rotation.set(c, s * sp, s * cp, -s * sp, l, o, -s * cp, o, c + 1.0f - l);
    orientation.multiplyInPlace(rotation);
}

Matrix3 PlayerView::levelled() const {
    Matrix3 level = orientation;
    level.rotateX(-pitch);
    return level;
}

bool PlayerView::tryMove(const Vec3& proposal) {
    if (collider == nullptr) return true;
    return checkMove(*collider, position, proposal);
}

bool PlayerView::moveForward(float distance) {
    const Matrix3 level = levelled();
    const Vec3 proposal{position.x + distance * level[2], position.y + distance * level[5],
                        position.z + distance * level[8]};
    return tryMove(proposal);
}

bool PlayerView::sidestep(float distance) {
    // The tilt turns about this very axis, so it needs no levelling.
    const Vec3 proposal{position.x + distance * orientation[0],
                        position.y + distance * orientation[3],
                        position.z + distance * orientation[6]};
    return tryMove(proposal);
}

void PlayerView::moveVertical(float distance) {
    const Matrix3 level = levelled();
    position.x += distance * level[1];
    position.y += distance * level[4];
    position.z += distance * level[7];
}
