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
