#include "framework/bmp_reader.h"

#include <algorithm>
#include <string_view>

#include "framework/gfx_errors.h"
#include "framework/little_endian.h"

namespace {

// Far beyond any picture of the game (textures are 256x256, screens
// 640x480) and small enough that a lying header cannot ask for gigabytes.
constexpr std::int64_t kMaxSide = 8192;
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;     // OS/2 1.x: 16-bit sizes, 3-byte colours
constexpr std::uint32_t kInfoHeaderBytes = 40;     // Windows 3.x, the start of all later ones
constexpr std::uint32_t kLargestInfoHeader = 124;  // V5

constexpr std::uint32_t kPlain = 0;
constexpr std::uint32_t kRle8 = 1;

BmpProblem refuse(int code, std::string reason) {
    return {code, std::move(reason)};
}

BmpProblem notABitmap(std::string reason) {
    return refuse(gfx_error::kNotABitmap, std::move(reason));
}

BmpProblem truncated(std::string_view what, std::uint64_t endsAt, std::uint64_t fileBytes) {
    return notABitmap("truncated: " + std::string(what) + " ends at byte " +
                      std::to_string(endsAt) + " of " + std::to_string(fileBytes));
}

std::string compressionName(std::uint32_t compression) {
    switch (compression) {
        case 2: return "RLE4";
        case 3: return "bit fields";
        case 4: return "JPEG";
        case 5: return "PNG";
        case 6: return "alpha bit fields";
        default: return "unknown";
    }
}

// The header fields that matter here, from either kind of header.
struct HeaderFields {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kPlain;
    std::uint32_t imageBytes = 0;  // 0: not given
    std::uint32_t colours = 0;     // 0: all 256
};

HeaderFields readFields(std::span<const std::uint8_t> head, bool core) {
    constexpr std::uint64_t info = kFileHeaderBytes;
    HeaderFields fields;
    if (core) {
        fields.width = read_le16(head, info + 4);
        fields.height = read_le16(head, info + 6);
        fields.planes = read_le16(head, info + 8);
        fields.bits = read_le16(head, info + 10);
        return fields;
    }
    fields.width = static_cast<std::int32_t>(read_le32(head, info + 4));
    fields.height = static_cast<std::int32_t>(read_le32(head, info + 8));
    fields.planes = read_le16(head, info + 12);
    fields.bits = read_le16(head, info + 14);
    fields.compression = read_le32(head, info + 16);
    fields.imageBytes = read_le32(head, info + 20);
    fields.colours = read_le32(head, info + 32);
    return fields;
}

// What the game can draw: one 8-bit plane, plain or RLE8, of a sane size.
BmpProblem checkFields(const HeaderFields& fields) {
    if (fields.planes != 1)
        return notABitmap("not a BMP (" + std::to_string(fields.planes) + " colour planes)");
    if (fields.bits != 8) {
        return refuse(gfx_error::kUnsupportedBitmap,
                      "8 bits per pixel needed, file has " + std::to_string(fields.bits));
    }
    if (fields.compression != kPlain && fields.compression != kRle8) {
        return refuse(gfx_error::kUnsupportedBitmap,
                      "compression " + std::to_string(fields.compression) + " (" +
                          compressionName(fields.compression) + ") is not supported");
    }
    const std::int64_t height = fields.height < 0 ? -fields.height : fields.height;
    const std::string size = std::to_string(fields.width) + "x" + std::to_string(height);
    if (fields.width < 1 || height < 1) return notABitmap("size " + size + " has no pixels");
    if (fields.width > kMaxSide || height > kMaxSide || fields.width * height > kMaxPixels) {
        return refuse(gfx_error::kBitmapTooLarge,
                      "size " + size + " is too large (at most 8192 on a side)");
    }
    if (fields.colours > 256) {
        return notABitmap("colour table of " + std::to_string(fields.colours) +
                          " entries (at most 256)");
    }
    return {};
}

// Where the colour table and the pixels lie, checked against the file.
BmpProblem placeData(std::span<const std::uint8_t> head, std::uint64_t fileBytes,
                     std::uint64_t headersEnd, const HeaderFields& fields, BmpLayout& layout) {
    const std::uint64_t dataAt = read_le32(head, 10);
    if (dataAt < headersEnd) {
        return notABitmap("not a BMP (pixel data at byte " + std::to_string(dataAt) +
                          " lies inside the headers, which end at byte " +
                          std::to_string(headersEnd) + ")");
    }
    if (dataAt > fileBytes) {
        return notABitmap("truncated: pixel data starts at byte " + std::to_string(dataAt) +
                          " of " + std::to_string(fileBytes));
    }
    // A table that overlaps the pixels is cut where they start: writers that
    // leave the count at 0 (all 256) often store only the colours they use.
    const std::uint64_t roomForColours = (dataAt - headersEnd) / layout.colourBytes;
    layout.colourCount = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(fields.colours ? fields.colours : 256, roomForColours));
    layout.tableAt = headersEnd;
    layout.dataAt = dataAt;

    const std::uint64_t pitch = (static_cast<std::uint64_t>(layout.width) + 3) & ~std::uint64_t{3};
    if (!layout.rle8) {
        layout.dataEnd = dataAt + pitch * static_cast<std::uint64_t>(layout.height);
    } else {
        layout.dataEnd = fields.imageBytes ? dataAt + fields.imageBytes : fileBytes;
    }
    if (layout.dataEnd > fileBytes) return truncated("pixel data", layout.dataEnd, fileBytes);
    return {};
}

void readPalette(std::span<const std::uint8_t> file, const BmpLayout& layout, BmpImage& image) {
    for (std::uint32_t i = 0; i < layout.colourCount; ++i) {
        const std::uint64_t at = layout.tableAt + std::uint64_t{i} * layout.colourBytes;
        image.palette[i] = {file[at], file[at + 1], file[at + 2], 0};
    }
}

// Index of the picture row (top first) that the file stores as its n-th.
std::int64_t pictureRow(const BmpLayout& layout, std::int64_t storedRow) {
    return layout.topDown ? storedRow : layout.height - 1 - storedRow;
}

void decodePlain(std::span<const std::uint8_t> file, const BmpLayout& layout, BmpImage& image) {
    const std::uint64_t pitch = (static_cast<std::uint64_t>(layout.width) + 3) & ~std::uint64_t{3};
    for (std::int64_t stored = 0; stored < layout.height; ++stored) {
        const auto from = file.subspan(layout.dataAt + static_cast<std::uint64_t>(stored) * pitch,
                                       static_cast<std::size_t>(layout.width));
        std::copy(from.begin(), from.end(),
                  image.pixels.begin() + pictureRow(layout, stored) * layout.width);
    }
}

BmpProblem corrupt(std::uint64_t at, const std::string& what) {
    return notABitmap("corrupt RLE8 data at byte " + std::to_string(at) + ": " + what);
}

// RLE8 as pairs of bytes: a count above 0 repeats the next byte; a count of
// 0 is an escape: 0 ends a row, 1 ends the picture, 2 moves by the next two
// bytes (right, down), 3 to 255 copy that many bytes, padded to an even
// number. Pixels the stream skips keep index 0. Every run is held to the
// row it starts in, so a lying stream cannot write outside the picture.
class Rle8Decoder {
public:
    Rle8Decoder(std::span<const std::uint8_t> file, const BmpLayout& layout, BmpImage& image)
        : file_(file), layout_(layout), image_(image), at_(layout.dataAt) {}

    BmpProblem run() {
        for (;;) {
            if (at_ + 2 > layout_.dataEnd) return endedEarly();
            const std::uint64_t commandAt = at_;
            const std::uint8_t count = file_[at_];
            const std::uint8_t value = file_[at_ + 1];
            at_ += 2;
            BmpProblem problem;
            if (count > 0) {
                problem = fill(commandAt, count, value);
            } else if (value == 0) {
                x_ = 0;
                ++row_;
            } else if (value == 1) {
                return {};
            } else if (value == 2) {
                problem = move(commandAt);
            } else {
                problem = copy(commandAt, value);
            }
            if (problem) return problem;
        }
    }

private:
    BmpProblem endedEarly() const {
        return notABitmap("truncated: RLE8 data ends at byte " + std::to_string(layout_.dataEnd) +
                          " without its end mark");
    }

    // Where `count` pixels from the current place go, or a reason. Runs
    // may cover the padding that rounds a row up to four bytes (some
    // encoders compress whole padded rows); those pixels are dropped.
    BmpProblem reserve(std::uint64_t commandAt, int count, std::uint8_t*& to, int& kept) {
        if (row_ >= layout_.height) return corrupt(commandAt, "pixels below the last row");
        if (x_ + count > paddedWidth()) {
            return corrupt(commandAt, "a run of " + std::to_string(count) + " at column " +
                                          std::to_string(x_) + " passes the end of a row of " +
                                          rowWidth());
        }
        to = image_.pixels.data() + pictureRow(layout_, row_) * layout_.width +
             std::min<std::int64_t>(x_, layout_.width);
        kept = static_cast<int>(std::clamp<std::int64_t>(layout_.width - x_, 0, count));
        x_ += count;
        return {};
    }

    std::int64_t paddedWidth() const {
        return (std::int64_t{layout_.width} + 3) & ~std::int64_t{3};
    }

    std::string rowWidth() const {
        std::string words = std::to_string(layout_.width);
        if (paddedWidth() != layout_.width)
            words += " (padded to " + std::to_string(paddedWidth()) + ")";
        return words;
    }

    BmpProblem fill(std::uint64_t commandAt, int count, std::uint8_t value) {
        std::uint8_t* to = nullptr;
        int kept = 0;
        if (BmpProblem problem = reserve(commandAt, count, to, kept)) return problem;
        std::fill_n(to, kept, value);
        return {};
    }

    BmpProblem copy(std::uint64_t commandAt, int count) {
        const std::uint64_t padded = static_cast<std::uint64_t>(count + (count & 1));
        if (at_ + padded > layout_.dataEnd) return endedEarly();
        std::uint8_t* to = nullptr;
        int kept = 0;
        if (BmpProblem problem = reserve(commandAt, count, to, kept)) return problem;
        std::copy_n(file_.begin() + static_cast<std::ptrdiff_t>(at_), kept, to);
        at_ += padded;
        return {};
    }

    BmpProblem move(std::uint64_t commandAt) {
        if (at_ + 2 > layout_.dataEnd) return endedEarly();
        x_ += file_[at_];
        row_ += file_[at_ + 1];
        at_ += 2;
        // Standing just past the last row is allowed: only the end mark may follow.
        if (x_ > paddedWidth() || row_ > layout_.height || (row_ == layout_.height && x_ > 0)) {
            return corrupt(commandAt, "a move to column " + std::to_string(x_) + " of row " +
                                          std::to_string(row_) + " leaves the " +
                                          std::to_string(layout_.width) + "x" +
                                          std::to_string(layout_.height) + " picture");
        }
        return {};
    }

    std::span<const std::uint8_t> file_;
    const BmpLayout& layout_;
    BmpImage& image_;
    std::uint64_t at_;
    std::int64_t x_ = 0;
    std::int64_t row_ = 0;  // in file order
};

}  // namespace

BmpProblem readBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileBytes,
                         BmpLayout& layout) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M')
        return notABitmap("not a BMP (no BM signature)");
    if (head.size() < kFileHeaderBytes + 4)
        return truncated("header", kFileHeaderBytes + 4, fileBytes);
    const std::uint32_t infoBytes = read_le32(head, kFileHeaderBytes);
    const bool core = infoBytes == kCoreHeaderBytes;
    if (!core && (infoBytes < kInfoHeaderBytes || infoBytes > kLargestInfoHeader)) {
        return notABitmap("not a BMP (unknown header of " + std::to_string(infoBytes) + " bytes)");
    }
    const std::uint64_t headersEnd = kFileHeaderBytes + infoBytes;
    if (head.size() < headersEnd) return truncated("header", headersEnd, fileBytes);

    const HeaderFields fields = readFields(head, core);
    if (BmpProblem problem = checkFields(fields)) return problem;
    layout = {};
    layout.width = static_cast<std::int32_t>(fields.width);
    layout.height = static_cast<std::int32_t>(fields.height < 0 ? -fields.height : fields.height);
    layout.topDown = fields.height < 0;
    layout.rle8 = fields.compression == kRle8;
    layout.colourBytes = core ? 3 : 4;
    return placeData(head, fileBytes, headersEnd, fields, layout);
}

BmpProblem decodeBmp(std::span<const std::uint8_t> file, BmpImage& image) {
    BmpLayout layout;
    if (BmpProblem problem =
            readBmpLayout(file.first(std::min(file.size(), kBmpHeadBytes)), file.size(), layout)) {
        return problem;
    }
    image = {};
    image.width = layout.width;
    image.height = layout.height;
    image.pixels.assign(static_cast<std::size_t>(layout.width) * layout.height, 0);
    readPalette(file, layout, image);
    if (!layout.rle8) {
        decodePlain(file, layout, image);
        return {};
    }
    return Rle8Decoder(file, layout, image).run();
}
