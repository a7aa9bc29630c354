#include "source_folder.h"

#include <algorithm>
#include <cstdio>

namespace fs = std::filesystem;

bool listSources(const fs::path& folder, std::string_view extension, std::vector<fs::path>& sources) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().extension() == extension) sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    return true;
}

bool compileSources(const std::vector<fs::path>& sources, const SourceCompiler& compile) {
    for (const fs::path& source : sources) {
        std::string error;
        if (!compile(source, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
    }
    return true;
}

bool copyContentFiles(const fs::path& from, const fs::path& to, std::string_view extension) {
    std::error_code error;
    if (!fs::is_directory(from, error)) return true;
    fs::create_directories(to, error);
    for (const auto& entry : fs::directory_iterator(from, error)) {
        if (!entry.is_regular_file() || (!extension.empty() && entry.path().extension() != extension)) continue;
        fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::update_existing, error);
        if (error) {
            std::fprintf(stderr, "cannot copy %s: %s\n", entry.path().c_str(), error.message().c_str());
            return false;
        }
    }
    return true;
}
