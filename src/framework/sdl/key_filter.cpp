#include "framework/sdl/key_filter.h"

namespace {
bool known(int sdlScancode) {
    return sdlScancode >= 0 && sdlScancode < KeyFilter::kScancodes;
}
}  // namespace

int KeyFilter::keyDown(int sdlScancode, bool repeat) {
    if (repeat || !known(sdlScancode)) return 0;
    const int code = pc_scan_code(sdlScancode);
    if (code != 0) held_[sdlScancode] = true;
    return code;
}

int KeyFilter::keyUp(int sdlScancode) {
    if (!known(sdlScancode)) return 0;
    const int code = pc_scan_code(sdlScancode);
    if (code == 0) return 0;
    held_[sdlScancode] = false;
    for (int other = 0; other < kScancodes; ++other) {
        if (held_[other] && pc_scan_code(other) == code) return 0;
    }
    return code;
}
