#include "collision/move_test.h"

#include "collision/height_query.h"
#include "geometry/collision_grid.h"
#include "geometry/model.h"

bool checkMove(Model& model, Vec3& position, const Vec3& proposed) {
    // A model whose load failed has no grid: nothing to stand on.
    if (!model.collisionGrid) return false;
    const Vec3 probe{proposed.x, proposed.y - kEyeHeight, proposed.z};
    float floorDist = 0.0f;
    float ceilingDist = 0.0f;
    if (!queryHeights(*model.collisionGrid, probe.x, probe.y, probe.z, floorDist, ceilingDist))
        return false;
    if (ceilingDist >= 0.0f && ceilingDist < kHeadRoom) return false;
    // Also refuses a point covered only by ceilings: floorDist is still
    // kNoSurface there.
    if (floorDist > kStepHeight) return false;
    position.set(proposed.x, proposed.y + floorDist, proposed.z);
    model.bumpFlag = (-floorDist > kFallHeight) ? 1 : 0;
    return true;
}
