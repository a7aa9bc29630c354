#pragma once
// Keyboard control of the player view: the framework's update callback.

struct GameState;
struct PlayerView;
class SoundSet;
class World;

// Walking step per loop iteration, and with Alt held.
constexpr float kWalkStep = 8.0f;
constexpr float kFastStep = 15.0f;
// Turn and tilt per loop iteration, whole degrees.
constexpr int kTurnStep = 15;
constexpr int kTiltStep = 15;

// Polls the held keys once per loop iteration and moves the player view.
void update_movement();

// The work of update_movement on the given objects: every held key acts, in
// a fixed order, so several combine in one iteration; nothing happens while a
// question, the options menu or the win is up; a move ends with the world's
// checks (check_player_position). Without sounds, M and N float silently.
void applyMovementKeys(PlayerView& view, World& world, GameState& state,
                       SoundSet* sounds = nullptr);
