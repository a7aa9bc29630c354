#pragma once
// Makes the SDL2 backend the one every fw_ operation uses.
void fw_use_sdl_backend();
