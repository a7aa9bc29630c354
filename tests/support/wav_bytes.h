#pragma once
// WAV files made byte by byte in the tests, so no sound file is committed:
// the layout of each field is written out here, as another tool would.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/little_endian.h"

namespace wavbytes {

using Bytes = std::vector<std::uint8_t>;

inline void putTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// A chunk with its tag, size and body, padded to an even length as RIFF wants.
inline void putChunk(Bytes& out, const char* tag, const Bytes& body) {
    putTag(out, tag);
    append_le32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

struct Format {
    int tag = 1;  // 1 PCM, 3 IEEE float
    int channels = 1;
    int rate = 44100;
    int bits = 16;
};

inline Bytes formatChunkBody(const Format& f) {
    Bytes body;
    const int block = f.channels * f.bits / 8;
    append_le16(body, f.tag);
    append_le16(body, f.channels);
    append_le32(body, f.rate);
    append_le32(body, f.rate * block);
    append_le16(body, block);
    append_le16(body, f.bits);
    return body;
}

// RIFF/WAVE with the format chunk, any chunks given in `before`, then the
// data chunk. `declaredData` >= 0 writes that size into the data chunk's
// header instead of the true one (a truncated file).
inline Bytes wav(const Format& f, const Bytes& data, const Bytes& before = {},
                 long declaredData = -1) {
    Bytes body;
    putTag(body, "WAVE");
    putChunk(body, "fmt ", formatChunkBody(f));
    body.insert(body.end(), before.begin(), before.end());
    putTag(body, "data");
    append_le32(body, static_cast<std::uint32_t>(declaredData >= 0 ? declaredData : data.size()));
    body.insert(body.end(), data.begin(), data.end());
    Bytes out;
    putTag(out, "RIFF");
    append_le32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Chunks other tools put before the data: a LIST/INFO with an odd-sized
// string (so a pad byte), a "fact" and a "JUNK" block.
inline Bytes extraChunks() {
    Bytes out;
    Bytes info;
    putTag(info, "INFO");
    Bytes name = {'k', 'r', 'v', 0, 'x'};  // odd length
    putChunk(info, "INAM", name);
    putChunk(out, "LIST", info);
    Bytes fact;
    append_le32(fact, 12345);
    putChunk(out, "fact", fact);
    putChunk(out, "JUNK", Bytes(28, 0x7F));
    return out;
}

inline Bytes pcm16(const std::vector<std::int16_t>& samples) {
    Bytes out;
    for (const std::int16_t s : samples) append_le16(out, static_cast<std::uint16_t>(s));
    return out;
}
inline Bytes float32(const std::vector<float>& samples) {
    Bytes out;
    for (const float s : samples) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &s, 4);
        append_le32(out, bits);
    }
    return out;
}
inline Bytes pcm24(const std::vector<std::int32_t>& samples) {
    Bytes out;
    for (const std::int32_t s : samples) {
        const auto u = static_cast<std::uint32_t>(s);
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
        out.push_back(static_cast<std::uint8_t>(u >> 16));
    }
    return out;
}

// 1, 2, 3 ... n: each output frame says which frame of the sound it came from.
inline std::vector<std::int16_t> ramp(int n) {
    std::vector<std::int16_t> out(n);
    for (int i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>(i + 1);
    return out;
}

inline Bytes monoRamp(int n) { return wav(Format{}, pcm16(ramp(n))); }
inline Bytes monoConstant(int n, std::int16_t value) {
    return wav(Format{}, pcm16(std::vector<std::int16_t>(n, value)));
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace wavbytes
