// The browser's side of write_page_png: a page writes no files, so frames
// are never captured as pictures here (the page reports them itself).

#include "framework/headless/headless.h"

bool write_page_png(const std::string& /*path*/, const std::uint8_t* /*pixels*/,
                    const PaletteEntry* /*palette*/, int /*width*/, int /*height*/) {
    return false;
}
