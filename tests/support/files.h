#pragma once
// Whole files in and out, for tests that write a quiz's sources and read
// back what a tool made of them.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "framework/files.h"

// The file's bytes; empty when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::string bytes;
    fw_read_whole_file(path.string(), bytes);
    return bytes;
}

// Writes `text` as it stands, making the folders above it first.
inline void writeFile(const std::filesystem::path& path, std::string_view text) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}
