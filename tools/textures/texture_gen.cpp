// Procedural textures in the game palette.
#include "textures/texture_gen.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

#include "framework/framework.h"
#include "shell/game_palette.h"

namespace {

struct Colour {
    double r = 0, g = 0, b = 0;
    Colour operator*(double s) const { return {r * s, g * s, b * s}; }
    Colour operator+(const Colour& o) const { return {r + o.r, g + o.g, b + o.b}; }
};

Colour mix(const Colour& a, const Colour& b, double t) { return a * (1.0 - t) + b * t; }

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double random01(std::uint32_t x, std::uint32_t y, std::uint32_t seed) { return (hash(x, y, seed) & 0xFFFF) / 65535.0; }

// Value noise on a lattice of `period` cells across the texture, wrapping, so
// it repeats exactly every 256 texels.
double noise(double x, double y, int period, std::uint32_t seed) {
    const double fx = x * period / kTextureSize, fy = y * period / kTextureSize;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0, ty = fy - y0;
    const auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
    const auto at = [&](int i, int j) {
        return random01(static_cast<std::uint32_t>(((i % period) + period) % period),
                        static_cast<std::uint32_t>(((j % period) + period) % period), seed);
    };
    const double a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    const double sx = smooth(tx), sy = smooth(ty);
    return (a * (1 - sx) + b * sx) * (1 - sy) + (c * (1 - sx) + d * sx) * sy;
}

// Octaves of noise from `period` upwards, 0..1.
double fbm(double x, double y, int period, int octaves, std::uint32_t seed) {
    double sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * noise(x, y, period << o, seed + o * 17);
        weight += amplitude;
        amplitude *= 0.5;
    }
    return sum / weight;
}

double wrap(double v) { return v - kTextureSize * std::floor(v / kTextureSize); }

using Pattern = std::function<Colour(int x, int y)>;

// Courses of bricks 32 texels high and 64 long, every other course shifted.
Colour brick(int x, int y) {
    const int course = y / 32;
    const int shifted = (x + (course % 2) * 32) % kTextureSize;
    const int column = shifted / 64;
    const int inX = shifted % 64, inY = y % 32;
    const double grain = fbm(x, y, 32, 3, 11);
    if (inX < 3 || inY < 3) return Colour{190, 180, 160} * (0.8 + 0.3 * grain);  // mortar
    const double tone = random01(column, course, 5);
    const Colour base = mix(Colour{170, 70, 45}, Colour{120, 45, 35}, tone);
    return base * (0.75 + 0.45 * grain);
}

// Irregular stone blocks: a shifted grid whose joints wander with noise.
Colour stone(int x, int y) {
    const double wx = x + 10 * (fbm(x, y, 8, 2, 21) - 0.5), wy = y + 10 * (fbm(x, y, 8, 2, 22) - 0.5);
    const int row = static_cast<int>(wrap(wy) / 64);
    const double sx = wrap(wx + (row % 2) * 40);
    const double inX = std::fmod(sx, 80.0 * kTextureSize / 240.0), inY = std::fmod(wrap(wy), 64.0);
    const int block = static_cast<int>(sx / (80.0 * kTextureSize / 240.0));
    const double grain = fbm(x, y, 16, 4, 23);
    if (inX < 4 || inY < 4) return Colour{60, 60, 58} * (0.8 + 0.4 * grain);
    const double tone = random01(block, row, 24);
    return mix(Colour{150, 150, 140}, Colour{110, 115, 120}, tone) * (0.7 + 0.5 * grain);
}

// Planks 32 texels wide along x with grain lines and staggered butt joints.
Colour wood(int x, int y) {
    const int plank = y / 32;
    const double inY = y % 32;
    const int joint = (plank * 96) % kTextureSize;
    const double grain = std::sin(2 * std::numbers::pi * (y / 8.0 + 3 * fbm(x, y, 4, 3, 31 + plank)));
    const double tone = random01(plank, 0, 32);
    Colour base = mix(Colour{160, 105, 55}, Colour{120, 75, 40}, tone);
    base = base * (0.85 + 0.15 * grain + 0.2 * (fbm(x, y, 16, 2, 33) - 0.5));
    if (inY < 2 || (x - joint + kTextureSize) % kTextureSize < 2) return base * 0.45;
    return base;
}

// Square floor tiles 64 texels wide in two colours with grout.
Colour tiles(int x, int y) {
    const int tx = x / 64, ty = y / 64;
    const int inX = x % 64, inY = y % 64;
    const double grain = fbm(x, y, 32, 3, 41);
    if (inX < 3 || inY < 3) return Colour{90, 85, 80} * (0.9 + 0.2 * grain);
    const Colour light{215, 200, 170}, dark{165, 75, 50};
    return ((tx + ty) % 2 == 0 ? light : dark) * (0.85 + 0.25 * grain);
}

// Riveted steel plates 128 texels wide, brushed along x.
Colour metal(int x, int y) {
    const int inX = x % 128, inY = y % 128;
    const double brushed = noise(x, y * 8.0, 64, 51) * 0.5 + fbm(x, y, 16, 2, 52) * 0.5;
    Colour base = Colour{140, 145, 150} * (0.75 + 0.4 * brushed);
    if (inX < 2 || inY < 2) return base * 0.4;
    for (const int cx : {10, 118}) {
        for (const int cy : {10, 118}) {
            const double d = std::hypot(inX - cx, inY - cy);
            if (d < 5) return Colour{200, 205, 210} * (1.0 - d / 10);
        }
    }
    return base;
}

// White marble with dark veins from a turbulent sine.
Colour marble(int x, int y) {
    const double t = fbm(x, y, 4, 5, 61);
    const double vein = std::fabs(std::sin(2 * std::numbers::pi * ((x + y) / 128.0 + 2.5 * t)));
    const Colour white{235, 232, 225}, grey{120, 120, 130};
    return mix(grey, white, std::pow(vein, 0.35)) * (0.9 + 0.15 * fbm(x, y, 32, 2, 62));
}

Colour grass(int x, int y) {
    const double blades = fbm(x, y, 64, 3, 71);
    const double patches = fbm(x, y, 4, 2, 72);
    return mix(Colour{40, 110, 30}, Colour{120, 170, 50}, 0.6 * blades + 0.4 * patches);
}

Colour plaster(int x, int y) {
    const double t = fbm(x, y, 8, 5, 81);
    return Colour{215, 205, 180} * (0.82 + 0.25 * t);
}

// Cave rock: layered brown-grey with dark cracks.
Colour rock(int x, int y) {
    const double t = fbm(x, y, 4, 5, 91);
    const double layers = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (y / 64.0 + 1.5 * t));
    Colour base = mix(Colour{95, 80, 65}, Colour{150, 135, 115}, layers) * (0.75 + 0.4 * fbm(x, y, 32, 2, 92));
    const double crack = std::fabs(fbm(x, y, 8, 3, 93) - 0.5);
    if (crack < 0.02) base = base * 0.45;
    return base;
}

// A red carpet with a woven diamond pattern.
Colour carpet(int x, int y) {
    const int dx = std::abs((x % 64) - 32), dy = std::abs((y % 64) - 32);
    const bool diamond = dx + dy < 20 && dx + dy > 12;
    const double weave = 0.85 + 0.15 * ((x + y) % 4 < 2 ? 1.0 : 0.0) + 0.1 * (fbm(x, y, 32, 2, 101) - 0.5);
    return (diamond ? Colour{220, 180, 60} : Colour{150, 30, 35}) * weave;
}

// Dark stone for the skirting strips along the walls.
Colour plinth(int x, int y) {
    const double t = fbm(x, y, 16, 4, 111);
    const bool joint = x % 128 < 3;
    return Colour{85, 80, 75} * ((joint ? 0.5 : 0.8) + 0.4 * t);
}

struct Entry {
    const char* name;
    Colour (*pattern)(int, int);
};

constexpr Entry kTextures[] = {
    {"brick", brick},   {"stone", stone},     {"wood", wood}, {"tiles", tiles},   {"metal", metal},   {"marble", marble},
    {"grass", grass},   {"plaster", plaster}, {"rock", rock}, {"carpet", carpet}, {"plinth", plinth},
};

}  // namespace

const std::vector<std::string>& texture_names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Entry& e : kTextures) list.emplace_back(e.name);
        return list;
    }();
    return names;
}

int dither_to_cube(double red, double green, double blue, int x, int y) {
    // 8x8 Bayer thresholds, 0..63.
    static constexpr int kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
    const double threshold = (kBayer[y & 7][x & 7] + 0.5) / 64.0;
    const auto level = [&](double c) {
        return std::clamp(static_cast<int>(std::floor(std::clamp(c, 0.0, 255.0) / 51.0 + threshold)), 0, 5);
    };
    return cube_index(level(red), level(green), level(blue));
}

bool make_texture(const std::string& name, TextureImage& image) {
    for (const Entry& entry : kTextures) {
        if (name != entry.name) continue;
        image.name = name;
        image.texels.assign(kTextureSize * kTextureSize, 0);
        for (int y = 0; y < kTextureSize; ++y) {
            for (int x = 0; x < kTextureSize; ++x) {
                const Colour c = entry.pattern(x, y);
                image.texels[y * kTextureSize + x] = static_cast<std::uint8_t>(dither_to_cube(c.r, c.g, c.b, x, y));
            }
        }
        return true;
    }
    return false;
}

bool write_textures(const std::string& folder, std::string& error) {
    const auto palette = game_palette();
    for (const std::string& name : texture_names()) {
        TextureImage image;
        make_texture(name, image);
        GfxBitmap bitmap;
        bitmap.width = kTextureSize;
        bitmap.height = kTextureSize;
        bitmap.bitsPerPixel = 8;
        bitmap.bytesPerLine = kTextureSize;
        bitmap.pixels = image.texels.data();
        const std::string path = (std::filesystem::path(folder) / (name + ".bmp")).string();
        if (!gfx_save_bitmap(path, bitmap, palette.data())) {
            error = path + ": cannot write the texture";
            return false;
        }
    }
    return true;
}
