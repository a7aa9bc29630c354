#include "shell/callbacks.h"

#include "shell/game.h"
#include "shell/ending.h"
#include "shell/resources.h"
#include "shell/world_events.h"

int accept_mode(int width, int height, int bits, int /*flags*/) {
    return width == 640 && height == 480 && bits == 8;
}

namespace {

void toggle(int& flag) { flag = flag ? 0 : 1; }

void onEscape(Game& g) {
    GameState& s = g.state;
    if (s.helpShown) {
        s.helpShown = 0;
        return;
    }
    // The first Esc only ends the intro; later ones open and close the menu.
    if (s.introOver) toggle(s.optionsShown);
    s.introOver = 1;
    g.menu.resetSelection();
}

void actOnScanCode(Game& g, int scanCode) {
    GameState& s = g.state;
    switch (scanCode) {
    case scan::kEscape: onEscape(g); break;
    case scan::k1:
    case scan::k2:
    case scan::k3:
        if (s.questionShown) answer_question(g.world, g.questions, s, scanCode - scan::k1 + 1);
        break;
    case scan::kT: toggle(s.fpsShown); break;
    case scan::kEnter:
        if (s.optionsShown) g.menu.choose();
        break;
    case scan::kSpace:
        g.world.restartMessageScroll();
        if (s.questionShown) answer_question(g.world, g.questions, s, 1);
        break;
    case scan::kF1: toggle(s.helpShown); break;
    case scan::kF10: s.quitRequested = 1; break;
    case scan::kUp:
        if (s.optionsShown) g.menu.selectPrevious();
        break;
    case scan::kDown:
        if (s.optionsShown) g.menu.selectNext();
        break;
    default: break;
    }
}

}  // namespace

void on_key_down(const FwEvent& event) {
    Game& g = game();
    // gameWon can only be set here while the ending runs: the key press
    // that wins installs the ending below, after this test.
    if (g.state.gameWon) fw_request_exit();
    actOnScanCode(g, fw_event_scan_code(event));
    if (g.state.gameWon) fw_set_draw_callback(draw_ending_frame);
    if (g.state.quitRequested) fw_request_exit();
}

void on_mouse_down(const FwEvent& /*event*/) {}

void on_mode_switched(const ModeChoice& /*mode*/, int /*windowed*/) { start_game(); }

void on_activate(int /*active*/) {}

int on_suspend(FwContext* /*context*/, int /*leavingOrReturning*/) { return 1; }
