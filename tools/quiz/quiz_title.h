#pragma once
// The quiz's title screen, shown by the intro over its music: the title in
// the game's own font, enlarged, the author's picture under it and the
// intro's lines at the foot, on a night-blue ground.

#include <optional>
#include <string>
#include <vector>

#include "pictures/canvas.h"

struct GfxFont;

// 640 by 480. `font` is the game's font (loaded by the framework); a text
// that does not fit is wrapped, then set smaller.
IndexedPicture makeQuizTitlePicture(const GfxFont& font, const std::string& title,
                                    const std::vector<std::string>& intro,
                                    const std::optional<RgbCanvas>& picture);
