#pragma once
// The one list of texture bitmaps shared by all models. Models append their
// declarations while they load and store texture numbers; after every model
// is loaded the bitmaps are loaded and each face is bound to its bitmap.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/graphics.h"
#include "framework/owned_bitmap.h"

struct Face;

// Textures are addressed as a 256 x 256 grid of 8-bit palette indices with
// wrap-around (a mask), so no other size or depth can be drawn.
constexpr int kTextureSize = 256;

struct TextureEntry {
    std::int32_t width = 0;  // as declared; the bitmap's own size once loaded
    std::int32_t height = 0;
    std::string name;  // compared exactly, case matters
    std::string path;  // "Pics\" + file name, a game path
    OwnedBitmap bitmap;
    // Where the declaration stands, for messages.
    std::string declaredIn;
    int declaredLine = 0;
};

// A bitmap that cannot be used, with the declaration that named it.
struct TextureProblem {
    std::string file;
    int line = 0;
    std::string reason;
};

class TextureList {
public:
    std::int32_t count = 0;
    std::vector<std::unique_ptr<TextureEntry>> entries;  // 1-based; empty while count is 0

    void add(std::int32_t width, std::int32_t height, std::string_view name,
             std::string_view fileName, std::string_view declaredIn = {}, int declaredLine = 0);
    // Number of the first entry with this name, -1 when there is none.
    std::int32_t find(std::string_view name) const;

    // Loads the bitmap of every entry in index order. A missing, unreadable
    // or not 256 x 256 x 8-bit bitmap prints its file and the reason on
    // stderr and ends the program with "Can't find all Bitmaps!".
    void loadBitmaps();
    // The same without ending the program: every bad entry is appended to
    // problems (with its declaring file and line) and the result is false.
    bool loadBitmaps(std::vector<TextureProblem>& problems);

    // None below 1 or above count, or before the bitmaps are loaded.
    const GfxBitmap* bitmapOf(std::int32_t number) const;
    // face.bitmap = bitmapOf(face.texture): none for colour faces and names
    // not found.
    void resolveBitmap(Face& face) const;

    // Releases every entry and its bitmap.
    void clear();

private:
    // Name -> number of its first entry, so that find stays cheap for files
    // with many faces and declarations.
    std::unordered_map<std::string, std::int32_t> firstByName_;
};
