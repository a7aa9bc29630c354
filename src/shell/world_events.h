#pragma once
// The shell's side of the world's run-time logic: the world says what a move
// or an answer led to, and these carry it out on the view, the question
// store and the game's flags.

struct GameState;
struct PlayerView;
class QuestionStore;
class World;

// After every iteration that handled a move key: the world's checks at the
// eye; a passage moves the view into its maze, and the sought object within
// reach shows its question.
void check_player_position(World& world, PlayerView& view, GameState& state);

// A digit key while the question is shown: the question store judges it, the
// world acts on it; a wrong answer or a next object hides the question (the
// next object's question becomes current), the last right one wins.
void answer_question(World& world, QuestionStore& questions, GameState& state, int digit);
