#include "shell/movement.h"

// Walking arrives with the player view; until then held keys do nothing.
void update_movement() {}
