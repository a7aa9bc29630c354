#pragma once
// Keyboard control of the player view: the framework's update callback.

// Polls the held keys once per loop iteration and moves the player view.
void update_movement();
