// Placeholder; the SDL2 backend is being written.
#include "framework/sdl_backend.h"
void fw_use_sdl_backend() {}
