#pragma once
// The handful of global flags that decide what each callback does. Each is
// an int holding 0 or 1.

struct GameState {
    int helpShown = 0;
    int optionsShown = 0;
    int quitRequested = 0;
    int introOver = 0;
    int questionShown = 0;
    int gameWon = 0;
    int fpsShown = 0;
    int introStarted = 0;
};
