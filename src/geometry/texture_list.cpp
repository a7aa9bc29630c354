#include "geometry/texture_list.h"

#include <cstdio>
#include <string>

#include "framework/fatal.h"
#include "framework/gfx_errors.h"
#include "geometry/face.h"

namespace {

// Only the size can be wrong here: the loader gives nothing but 8 bits.
std::string sizeProblem(const GfxBitmap& bitmap) {
    return "wrong size: " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height) +
           ", a texture must be 256x256";
}

// The rasterizers step through texels with a 256 mask and rows 256 bytes
// apart; anything else would be read out of bounds.
bool drawableTexture(const GfxBitmap& bitmap) {
    return bitmap.width == kTextureSize && bitmap.height == kTextureSize &&
           bitmap.bitsPerPixel == 8 && bitmap.bytesPerLine == kTextureSize &&
           bitmap.pixels != nullptr;
}

}  // namespace

void TextureList::add(std::int32_t width, std::int32_t height, std::string_view name,
                      std::string_view fileName, std::string_view declaredIn, int declaredLine) {
    if (entries.empty()) entries.resize(1);  // element 0 is never used
    auto entry = std::make_unique<TextureEntry>();
    entry->width = width;
    entry->height = height;
    entry->name = std::string(name);
    entry->path = "Pics\\" + std::string(fileName);
    entry->declaredIn = std::string(declaredIn);
    entry->declaredLine = declaredLine;
    entries.push_back(std::move(entry));
    ++count;
    firstByName_.try_emplace(std::string(name), count);  // a later equal name never wins
}

std::int32_t TextureList::find(std::string_view name) const {
    const auto found = firstByName_.find(std::string(name));
    return found == firstByName_.end() ? -1 : found->second;
}

bool TextureList::loadBitmaps(std::vector<TextureProblem>& problems) {
    bool allLoaded = true;
    for (std::int32_t i = 1; i <= count; ++i) {
        TextureEntry& entry = *entries[i];
        if (entry.bitmap) continue;
        const std::string what = "texture '" + entry.name + "': " + entry.path + ": ";
        std::string reason;
        if (!gfx_bitmap_info(entry.path)) {
            reason = what + gfx_bitmap_problem();
        } else {
            OwnedBitmap bitmap(gfx_load_bitmap(entry.path, 1));
            if (!bitmap) {
                reason = what + gfx_bitmap_problem();
            } else if (!drawableTexture(*bitmap)) {
                reason = what + sizeProblem(*bitmap);
            } else {
                entry.width = bitmap->width;
                entry.height = bitmap->height;
                entry.bitmap = std::move(bitmap);
                continue;
            }
        }
        allLoaded = false;
        problems.push_back({entry.declaredIn, entry.declaredLine, reason});
    }
    return allLoaded;
}

void TextureList::loadBitmaps() {
    std::vector<TextureProblem> problems;
    if (loadBitmaps(problems)) return;
    for (const TextureProblem& problem : problems) {
        if (problem.file.empty()) {
            std::fprintf(stderr, "%s\n", problem.reason.c_str());
        } else {
            std::fprintf(stderr, "%s:%d: %s\n", problem.file.c_str(), problem.line,
                         problem.reason.c_str());
        }
    }
    gfx_fatal_error("Can't find all Bitmaps!");
}

const GfxBitmap* TextureList::bitmapOf(std::int32_t number) const {
    if (number < 1 || number > count) return nullptr;
    return entries[number]->bitmap.get();
}

void TextureList::resolveBitmap(Face& face) const {
    face.bitmap = bitmapOf(face.texture);
}

void TextureList::clear() {
    entries.clear();
    firstByName_.clear();
    count = 0;
}
