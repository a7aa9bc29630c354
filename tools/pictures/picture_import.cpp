#include "pictures/picture_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/framework.h"
#include "shell/game_palette.h"

namespace {

// One destination sample's sources along an axis and their weights (summing to 1).
struct Tap {
    int index;
    float weight;
};

std::vector<std::vector<Tap>> axisTaps(int sourceLength, int targetLength) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(targetLength));
    const double scale = static_cast<double>(sourceLength) / targetLength;
    for (int d = 0; d < targetLength; ++d) {
        auto& list = taps[static_cast<std::size_t>(d)];
        if (scale >= 1.0) {
            // Shrinking: the destination pixel's footprint, partial pixels at its ends.
            const double from = d * scale;
            const double to = (d + 1) * scale;
            for (int s = static_cast<int>(std::floor(from)); s < static_cast<int>(std::ceil(to)); ++s) {
                const double covered = std::min<double>(to, s + 1) - std::max<double>(from, s);
                if (covered > 0.0 && s < sourceLength)
                    list.push_back({s, static_cast<float>(covered / scale)});
            }
        } else {
            // Growing: linear between the two nearest source centres.
            const double at = std::clamp((d + 0.5) * scale - 0.5, 0.0, sourceLength - 1.0);
            const int low = static_cast<int>(std::floor(at));
            const int high = std::min(low + 1, sourceLength - 1);
            const float t = static_cast<float>(at - low);
            list.push_back({low, 1.0f - t});
            if (high != low) list.push_back({high, t});
        }
    }
    return taps;
}

}  // namespace

std::optional<RgbCanvas> canvas_from_rgba(const std::uint8_t* rgba, int width, int height,
                                         int pitch, const std::string& name, std::string& error) {
    if (!rgba || width < 1 || height < 1 || pitch < 4 * width) {
        error = name + ": the picture has no pixels";
        return std::nullopt;
    }
    if (static_cast<long long>(width) * height > kMaxSourcePixels) {
        error = name + ": the picture is too large (" + std::to_string(width) + " by " +
                std::to_string(height) + ")";
        return std::nullopt;
    }
    RgbCanvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgba + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + 4 * x;
            // The game has no transparency in its pictures: see-through parts go black.
            const float alpha = p[3] / 255.0f;
            canvas.set(x, y, rgb(p[0] * alpha, p[1] * alpha, p[2] * alpha));
        }
    }
    return canvas;
}

RgbCanvas crop_canvas(const RgbCanvas& source, int left, int top, int width, int height) {
    left = std::clamp(left, 0, source.width());
    top = std::clamp(top, 0, source.height());
    width = std::clamp(width, 0, source.width() - left);
    height = std::clamp(height, 0, source.height() - top);
    RgbCanvas out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.set(x, y, source.get(left + x, top + y));
    return out;
}

RgbCanvas resize_canvas(const RgbCanvas& source, int width, int height) {
    const auto across = axisTaps(source.width(), width);
    const auto down = axisTaps(source.height(), height);
    RgbCanvas wide(width, source.height());
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (const Tap& tap : across[static_cast<std::size_t>(x)])
                sum = added(sum, scaled(source.get(tap.index, y), tap.weight));
            wide.set(x, y, sum);
        }
    }
    RgbCanvas out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (const Tap& tap : down[static_cast<std::size_t>(y)])
                sum = added(sum, scaled(wide.get(x, tap.index), tap.weight));
            out.set(x, y, sum);
        }
    }
    return out;
}

RgbCanvas texture_from_canvas(const RgbCanvas& source) {
    const int side = std::min(source.width(), source.height());
    const RgbCanvas square =
        crop_canvas(source, (source.width() - side) / 2, (source.height() - side) / 2, side, side);
    return resize_canvas(square, kTextureSize, kTextureSize);
}

RgbCanvas fit_to_screen(const RgbCanvas& source) {
    if (source.width() <= kMaxPictureWidth && source.height() <= kMaxPictureHeight) return source;
    const double scale = std::min(static_cast<double>(kMaxPictureWidth) / source.width(),
                                  static_cast<double>(kMaxPictureHeight) / source.height());
    const int width = std::clamp(static_cast<int>(std::lround(source.width() * scale)), 1, kMaxPictureWidth);
    const int height = std::clamp(static_cast<int>(std::lround(source.height() * scale)), 1, kMaxPictureHeight);
    return resize_canvas(source, width, height);
}

IndexedPicture dither_to_palette(const RgbCanvas& canvas) {
    const int width = canvas.width();
    const int height = canvas.height();
    IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    // Two rows of carried error, three channels; one spare pixel on each side.
    std::vector<float> current(static_cast<std::size_t>(width + 2) * 3, 0.0f);
    std::vector<float> next(current.size(), 0.0f);
    for (int y = 0; y < height; ++y) {
        const bool leftToRight = (y % 2) == 0;
        const int step = leftToRight ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = leftToRight ? i : width - 1 - i;
            const Rgb colour = canvas.get(x, y);
            float* carried = &current[static_cast<std::size_t>(x + 1) * 3];
            // Clamped so that a run of saturated pixels cannot pile up error.
            const float wanted[3] = {std::clamp(colour.red + carried[0], -64.0f, 319.0f),
                                     std::clamp(colour.green + carried[1], -64.0f, 319.0f),
                                     std::clamp(colour.blue + carried[2], -64.0f, 319.0f)};
            int level[3];
            for (int c = 0; c < 3; ++c)
                level[c] = std::clamp(static_cast<int>(std::lround(wanted[c] / 51.0f)), 0, 5);
            picture.pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint8_t>(cube_index(level[0], level[1], level[2]));
            for (int c = 0; c < 3; ++c) {
                const float error = wanted[c] - static_cast<float>(level[c] * 51);
                current[static_cast<std::size_t>(x + 1 + step) * 3 + c] += error * (7.0f / 16.0f);
                next[static_cast<std::size_t>(x + 1 - step) * 3 + c] += error * (3.0f / 16.0f);
                next[static_cast<std::size_t>(x + 1) * 3 + c] += error * (5.0f / 16.0f);
                next[static_cast<std::size_t>(x + 1 + step) * 3 + c] += error * (1.0f / 16.0f);
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0.0f);
    }
    return picture;
}

bool save_indexed_picture(const std::string& path, const IndexedPicture& picture) {
    static const auto palette = game_palette();
    GfxBitmap bitmap;
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    bitmap.bitsPerPixel = 8;
    bitmap.bytesPerLine = picture.width;
    // The saver only reads the pixels; the bitmap record has no const view.
    bitmap.pixels = const_cast<std::uint8_t*>(picture.pixels.data());
    if (!gfx_save_bitmap(path, bitmap, palette.data())) {
        std::fprintf(stderr, "cannot write picture %s\n", path.c_str());
        return false;
    }
    return true;
}
