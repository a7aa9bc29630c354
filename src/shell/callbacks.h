#pragma once
// The callbacks the game registers with the framework.

#include "framework/framework.h"

// Admits only 640x480 at 8 bits; the flags are ignored.
int accept_mode(int width, int height, int bits, int flags);
void on_key_down(const FwEvent& event);
void on_mouse_down(const FwEvent& event);
void on_mode_switched(const ModeChoice& mode, int windowed);
void on_activate(int active);
// Always allows switching away and back.
int on_suspend(FwContext* context, int leavingOrReturning);
