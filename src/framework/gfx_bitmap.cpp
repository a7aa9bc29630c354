// 8-bit Windows BMP files: the existence test, loading, drawing and saving.
//
// The files are decoded and written by the portable code of bmp_reader and
// bmp_writer, the same in every build: a picture folder is content that
// anybody can edit, so every refusal keeps its reason for the author
// (gfx_bitmap_problem). Loaded rows are tight (bytesPerLine equals the
// width), so the 640-pixel background is exactly a page.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/bmp_reader.h"
#include "framework/bmp_writer.h"
#include "framework/files.h"
#include "framework/gfx_errors.h"

namespace {

// Far beyond a 8192 x 8192 picture with every padding and table.
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

// The owner of a loaded bitmap's memory; gfx_free_bitmap hands it back here.
struct StoredBitmap : GfxBitmap {
    std::vector<std::uint8_t> pixelStore;
    std::array<PaletteEntry, 256> paletteStore{};
};

std::string& lastProblem() {
    static std::string problem;
    return problem;
}

// Records a refusal for gfx_result and gfx_bitmap_problem.
void refuse(int code, std::string reason) {
    gfx_set_result(code);
    lastProblem() = std::move(reason);
}

// Reads up to `limit` bytes of a native file and its whole size; false
// (with the refusal recorded) when it cannot.
bool readFile(const std::string& path, std::uintmax_t limit, std::vector<std::uint8_t>& bytes,
              std::uintmax_t& fileBytes) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        refuse(gfx_error::kFileNotFound, "missing");
        return false;
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        refuse(gfx_error::kFileNotFound, "not a file");
        return false;
    }
    fileBytes = std::filesystem::file_size(path, error);
    if (error) {
        refuse(gfx_error::kReadError, "unreadable (" + error.message() + ")");
        return false;
    }
    if (fileBytes > kMaxFileBytes) {
        refuse(gfx_error::kBitmapTooLarge,
               std::to_string(fileBytes) + " bytes is too large for a picture");
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    bytes.resize(static_cast<std::size_t>(std::min(limit, fileBytes)));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file || file.gcount() != static_cast<std::streamsize>(bytes.size())) {
        refuse(gfx_error::kReadError, "unreadable");
        return false;
    }
    return true;
}

}  // namespace

std::string gfx_bitmap_problem() {
    return lastProblem();
}

int gfx_bitmap_info(std::string_view file) {
    lastProblem().clear();
    std::vector<std::uint8_t> head;
    std::uintmax_t fileBytes = 0;
    if (!readFile(fw_native_path(file), kBmpHeadBytes, head, fileBytes)) return 0;
    BmpLayout layout;
    if (BmpProblem problem = readBmpLayout(head, fileBytes, layout)) {
        refuse(problem.code, std::move(problem.reason));
        return 0;
    }
    return 1;
}

GfxBitmap* gfx_load_bitmap(std::string_view file, int keepPalette) {
    lastProblem().clear();
    std::vector<std::uint8_t> bytes;
    std::uintmax_t fileBytes = 0;
    if (!readFile(fw_native_path(file), kMaxFileBytes, bytes, fileBytes)) return nullptr;
    BmpImage image;
    if (BmpProblem problem = decodeBmp(bytes, image)) {
        refuse(problem.code, std::move(problem.reason));
        return nullptr;
    }
    auto bitmap = std::make_unique<StoredBitmap>();
    bitmap->width = image.width;
    bitmap->height = image.height;
    bitmap->bitsPerPixel = 8;
    bitmap->bytesPerLine = image.width;
    bitmap->pixelStore = std::move(image.pixels);
    bitmap->pixels = bitmap->pixelStore.data();
    if (keepPalette) {
        bitmap->paletteStore = image.palette;
        bitmap->palette = bitmap->paletteStore.data();
    }
    return bitmap.release();
}

void gfx_free_bitmap(GfxBitmap* bitmap) {
    // Every GfxBitmap handed out is a StoredBitmap (see gfx_load_bitmap).
    std::unique_ptr<StoredBitmap> owner(static_cast<StoredBitmap*>(bitmap));
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
    if (!palette) return false;
    const std::vector<std::uint8_t> bytes = encodeBmp(bitmap, {palette, 256});
    if (bytes.empty()) return false;
    std::ofstream file(nativePath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}
