// Placeholder: the collision grid is being written.
#include "collision/collision_grid.h"

void buildCollisionGrid(Model&, std::int32_t) {}
