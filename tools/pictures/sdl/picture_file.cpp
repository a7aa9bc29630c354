// Picture files decoded by SDL_image. Apart from the rest of the picture
// import so that the quiz maker page, where the browser decodes pictures and
// SDL does not exist, builds the same import without it.
#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "pictures/picture_import.h"

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

}  // namespace

std::optional<RgbCanvas> load_picture_file(const std::string& path, std::string& error) {
    SurfacePtr loaded(IMG_Load(path.c_str()));
    if (!loaded) {
        error = path + ": cannot read the picture (" + IMG_GetError() + ")";
        return std::nullopt;
    }
    if (static_cast<long long>(loaded->w) * loaded->h > kMaxSourcePixels) {
        error = path + ": the picture is too large (" + std::to_string(loaded->w) + " by " +
                std::to_string(loaded->h) + ")";
        return std::nullopt;
    }
    // Palette, grey, 16-bit and alpha formats all become plain bytes R, G, B, A.
    SurfacePtr rgba(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
    if (!rgba) {
        error = path + ": cannot convert the picture (" + SDL_GetError() + ")";
        return std::nullopt;
    }
    if (SDL_LockSurface(rgba.get()) != 0) {
        error = path + ": cannot read the picture's pixels";
        return std::nullopt;
    }
    auto canvas = canvas_from_rgba(static_cast<const std::uint8_t*>(rgba->pixels), rgba->w, rgba->h,
                                   rgba->pitch, path, error);
    SDL_UnlockSurface(rgba.get());
    return canvas;
}
