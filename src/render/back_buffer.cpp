#include "render/back_buffer.h"

#include <cstring>

void copyPage(std::uint8_t* to, const std::uint8_t* from) {
    // Fixed 64-byte copies become four 16-byte moves each; the loop is not
    // turned back into a library call. 307200 is a multiple of 64.
    static_assert(kScreenPixels % 64 == 0);
    for (int i = 0; i < kScreenPixels; i += 64) std::memcpy(to + i, from + i, 64);
}
