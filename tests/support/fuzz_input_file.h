#pragma once
// For the content reader fuzzers: each input is written to a file of its
// own per process and opened with the game's line reader, so the readers
// are fuzzed exactly as the game runs them.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/files.h"

class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* suffix) {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder && *folder ? folder : "/tmp") + "/krv_fuzz_" +
                std::to_string(::getpid()) + suffix;
    }
    ~FuzzInputFile() { std::remove(path_.c_str()); }

    // Writes the input and opens it in `file`; a failure is the machine's,
    // not the reader's, and stops the run.
    void open(const std::uint8_t* data, std::size_t size, TextFile& file) const {
        std::FILE* out = std::fopen(path_.c_str(), "wb");
        if (!out) std::abort();
        if (size > 0) std::fwrite(data, 1, size, out);
        std::fclose(out);
        if (!file.openNative(path_)) std::abort();
    }

private:
    std::string path_;
};

// A broken promise of a reader: stop with a crash libFuzzer keeps.
inline void fuzz_require(bool condition) {
    if (!condition) std::abort();
}
