#include "shell/game.h"

namespace {
std::unique_ptr<Game> current;
}

Game& game() { return *current; }
bool game_exists() { return current != nullptr; }

void create_game() {
    current.reset();
    current = std::make_unique<Game>();
}

void destroy_game() { current.reset(); }
