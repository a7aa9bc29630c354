#pragma once
// Windows BMP files of 8 bits per pixel, decoded from bytes in memory with
// no platform help, so that every build (and the fuzzer) runs the same code.
//
// Accepted is what common tools write for an 8-bit picture: the 12-byte
// OS/2 header, the 40-byte header and the longer V4 and V5 ones; rows
// bottom-up or top-down; colour tables shorter than 256 entries; plain rows
// or RLE8. A refused file gets an error code (gfx_errors.h) and a reason an
// author can act on, such as "8 bits per pixel needed, file has 24".

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/screen.h"

// Why a file was refused; no code (0) when it was not.
struct BmpProblem {
    int code = 0;
    std::string reason;

    explicit operator bool() const { return code != 0; }
};

// What the headers say, once they add up with the size of the file.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive; topDown gives the row order
    bool topDown = false;
    bool rle8 = false;
    std::uint32_t colourCount = 0;  // entries of the colour table
    std::uint32_t colourBytes = 4;  // bytes per entry (3 after an OS/2 header)
    std::uint64_t tableAt = 0;      // file offset of the colour table
    std::uint64_t dataAt = 0;       // file offset of the pixel data
    std::uint64_t dataEnd = 0;      // where the pixel data ends (RLE8: its stream)
};

struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;         // top row first, width bytes per row
    std::array<PaletteEntry, 256> palette{};  // black past the file's table
};

// The most bytes of a file's start that the header check reads.
constexpr std::size_t kBmpHeadBytes = 14 + 124;

// Checks the headers at the start of a file (`head`, at most kBmpHeadBytes
// of it) against the file's whole size.
BmpProblem readBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileBytes,
                         BmpLayout& layout);

// Decodes a whole file. Nothing is written outside the picture and nothing
// read past the file, whatever the bytes say.
BmpProblem decodeBmp(std::span<const std::uint8_t> file, BmpImage& image);
