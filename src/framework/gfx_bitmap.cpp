// 8-bit Windows BMP files: the existence test, loading, drawing and saving.
//
// SDL decodes and encodes the files, but every header is checked here first:
// SDL accepts some files whose sizes do not add up, and a picture folder is
// content that anybody can edit. Loaded rows are tight (bytesPerLine equals
// the width), so the 640-pixel background is exactly a page.

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <vector>

#include "framework/backend.h"
#include "framework/files.h"
#include "framework/gfx_errors.h"

namespace {

using gfx_error::kFileNotFound;
using gfx_error::kNoMemory;
using gfx_error::kNotABitmap;
using gfx_error::kReadError;
constexpr int kUnsupported = gfx_error::kUnsupportedBitmap;

// Far beyond any picture of the game (textures are 256x256, screens
// 640x480) and small enough that a lying header cannot ask for gigabytes.
constexpr std::int64_t kMaxSide = 8192;
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kCoreHeaderBytes = 12;     // OS/2 1.x: 16-bit sizes, 3-byte colours
constexpr std::size_t kInfoHeaderBytes = 40;     // Windows 3.x and all later versions
constexpr std::size_t kLargestInfoHeader = 124;  // Windows 5.x

// The owner of a loaded bitmap's memory; gfx_free_bitmap hands it back here.
struct OwnedBitmap : GfxBitmap {
    std::vector<std::uint8_t> pixelStore;
    std::array<PaletteEntry, 256> paletteStore{};
};

// What the headers say, once they have been found consistent.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive here
    bool topDown = false;
    std::uint32_t colourCount = 0;
};

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// Checks the headers (`head` holds at least the start of the file) against
// the size of the whole file; 0 or an error code.
int checkHeaders(std::span<const std::uint8_t> head, std::uintmax_t fileBytes, BmpLayout& layout) {
    if (head.size() < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') return kNotABitmap;
    const std::uint32_t dataOffset = read32(head, 10);
    const std::uint32_t infoBytes = read32(head, kFileHeaderBytes);
    const bool core = infoBytes == kCoreHeaderBytes;
    if (!core && (infoBytes < kInfoHeaderBytes || infoBytes > kLargestInfoHeader))
        return kNotABitmap;
    if (head.size() < kFileHeaderBytes + infoBytes) return kNotABitmap;

    const std::size_t info = kFileHeaderBytes;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
    if (core) {
        width = read16(head, info + 4);
        height = read16(head, info + 6);
        planes = read16(head, info + 8);
        bits = read16(head, info + 10);
    } else {
        width = static_cast<std::int32_t>(read32(head, info + 4));
        height = static_cast<std::int32_t>(read32(head, info + 8));
        planes = read16(head, info + 12);
        bits = read16(head, info + 14);
        compression = read32(head, info + 16);
        colours = read32(head, info + 32);
    }
    if (planes != 1) return kNotABitmap;
    if (bits != 8 || compression != 0) return kUnsupported;  // no RLE: the game's files are plain

    layout.topDown = height < 0;
    if (height < 0) height = -height;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        return kNotABitmap;
    }
    if (colours == 0) colours = 256;
    if (colours > 256) return kNotABitmap;

    // The colour table sits right after the headers; the rows, padded to
    // four bytes, start at the data offset and must all be in the file.
    const std::uint64_t tableEnd = kFileHeaderBytes + infoBytes + colours * (core ? 3u : 4u);
    const std::uint64_t pitch = (static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
    if (dataOffset < tableEnd || tableEnd > fileBytes) return kNotABitmap;
    if (dataOffset + pitch * static_cast<std::uint64_t>(height) > fileBytes) return kNotABitmap;

    layout.width = static_cast<std::int32_t>(width);
    layout.height = static_cast<std::int32_t>(height);
    layout.colourCount = colours;
    return 0;
}

// Reads up to `limit` bytes of a native file; 0 or an error code.
int readFile(const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
             std::uintmax_t& fileBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return kFileNotFound;
    fileBytes = std::filesystem::file_size(path, error);
    if (error) return kReadError;
    if (fileBytes > kMaxFileBytes) return kNotABitmap;
    std::ifstream file(path, std::ios::binary);
    if (!file) return kFileNotFound;
    bytes.resize(static_cast<std::size_t>(std::min(limit, fileBytes)));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return kReadError;
    return 0;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

GfxBitmap* fail(int code) {
    gfx_set_result(code);
    return nullptr;
}

}  // namespace

int gfx_bitmap_info(std::string_view file) {
    std::vector<std::uint8_t> head;
    std::uintmax_t fileBytes = 0;
    if (readFile(fw_native_path(file), kFileHeaderBytes + kLargestInfoHeader, head, fileBytes) !=
        0) {
        return 0;
    }
    BmpLayout layout;
    return checkHeaders(head, fileBytes, layout) == 0 ? 1 : 0;
}

GfxBitmap* gfx_load_bitmap(std::string_view file, int keepPalette) {
    std::vector<std::uint8_t> bytes;
    std::uintmax_t fileBytes = 0;
    if (const int code = readFile(fw_native_path(file), kMaxFileBytes, bytes, fileBytes))
        return fail(code);
    BmpLayout layout;
    if (const int code = checkHeaders(bytes, bytes.size(), layout)) return fail(code);

    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream) return fail(kNoMemory);
    const SurfacePtr surface(SDL_LoadBMP_RW(stream, 1));
    if (!surface) return fail(kNotABitmap);
    const SDL_PixelFormat* format = surface->format;
    if (format->BitsPerPixel != 8 || !format->palette || surface->w != layout.width ||
        surface->h != layout.height) {
        return fail(kUnsupported);
    }

    auto bitmap = std::make_unique<OwnedBitmap>();
    bitmap->width = layout.width;
    bitmap->height = layout.height;
    bitmap->bitsPerPixel = 8;
    bitmap->bytesPerLine = layout.width;
    bitmap->pixelStore.resize(static_cast<std::size_t>(layout.width) * layout.height);
    // SDL has already put the rows top first, whatever their order in the file.
    const auto* source = static_cast<const std::uint8_t*>(surface->pixels);
    for (int row = 0; row < layout.height; ++row) {
        std::copy_n(source + static_cast<std::ptrdiff_t>(row) * surface->pitch, layout.width,
                    bitmap->pixelStore.data() + static_cast<std::ptrdiff_t>(row) * layout.width);
    }
    bitmap->pixels = bitmap->pixelStore.data();
    if (keepPalette) {
        const SDL_Palette& palette = *format->palette;
        const int count = std::min(palette.ncolors, 256);
        for (int i = 0; i < count; ++i) {
            bitmap->paletteStore[i] = {palette.colors[i].b, palette.colors[i].g,
                                       palette.colors[i].r, 0};
        }
        bitmap->palette = bitmap->paletteStore.data();
    }
    return bitmap.release();
}

void gfx_free_bitmap(GfxBitmap* bitmap) {
    // Every GfxBitmap handed out is an OwnedBitmap (see gfx_load_bitmap).
    std::unique_ptr<OwnedBitmap> owner(static_cast<OwnedBitmap*>(bitmap));
}

void gfx_put_bitmap(DrawContext* context, int x, int y, const GfxBitmap* bitmap,
                    int /*writeMode*/) {
    // Only replace is needed: every picture is in the page's palette already.
    if (!context || !context->pixels || !bitmap || !bitmap->pixels || bitmap->bitsPerPixel != 8)
        return;
    const std::int64_t left = std::max<std::int64_t>({x, context->clipLeft, 0});
    const std::int64_t top = std::max<std::int64_t>({y, context->clipTop, 0});
    const std::int64_t right = std::min<std::int64_t>(
        {std::int64_t{x} + bitmap->width - 1, context->clipRight, context->width - 1});
    const std::int64_t bottom = std::min<std::int64_t>(
        {std::int64_t{y} + bitmap->height - 1, context->clipBottom, context->height - 1});
    if (left > right || top > bottom) return;
    const std::size_t count = static_cast<std::size_t>(right - left + 1);
    for (std::int64_t row = top; row <= bottom; ++row) {
        const std::uint8_t* from = bitmap->pixels + (row - y) * bitmap->bytesPerLine + (left - x);
        std::uint8_t* to = context->pixels + row * context->bytesPerLine + left;
        std::copy_n(from, count, to);
    }
}

bool gfx_save_bitmap(const std::string& nativePath, const GfxBitmap& bitmap,
                     const PaletteEntry* palette) {
    if (!palette) palette = bitmap.palette;
    if (!palette || !bitmap.pixels || bitmap.bitsPerPixel != 8 || bitmap.width < 1 ||
        bitmap.height < 1 || bitmap.bytesPerLine < bitmap.width) {
        return false;
    }
    const SurfacePtr surface(
        SDL_CreateRGBSurfaceWithFormatFrom(bitmap.pixels, bitmap.width, bitmap.height, 8,
                                           bitmap.bytesPerLine, SDL_PIXELFORMAT_INDEX8));
    if (!surface) return false;
    std::array<SDL_Color, 256> colours{};
    for (int i = 0; i < 256; ++i)
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue, 255};
    if (SDL_SetPaletteColors(surface->format->palette, colours.data(), 0, 256) != 0) return false;
    return SDL_SaveBMP(surface.get(), nativePath.c_str()) == 0;
}
