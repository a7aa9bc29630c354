#include "shell/content_file.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "geometry/model_lines.h"

std::string ContentProblem::describe() const {
    if (file.empty()) return reason;
    if (line > 0) return file + ":" + std::to_string(line) + ": " + reason;
    return file + ": " + reason;
}

void reportProblems(std::span<const ContentProblem> problems) {
    for (const ContentProblem& problem : problems) {
        std::fprintf(stderr, "%s\n", problem.describe().c_str());
    }
}

bool isBlankOrComment(std::string_view line) { return line.empty() || line.front() == ';'; }

std::int32_t readLineNumber(std::string_view line) {
    // readInteger reads 0 where no digit follows; its clamp is wider than 32 bits.
    const long long value = readInteger(line, 0).value;
    return static_cast<std::int32_t>(std::clamp<long long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool isSafePictureName(std::string_view name, std::string& reason) {
    const bool rooted = !name.empty() && (name.front() == '\\' || name.front() == '/');
    const bool drive = name.size() >= 2 && name[1] == ':';
    if (rooted || drive) {
        reason = "picture name \"" + std::string(name) + "\" is absolute; it must lie in Pics";
        return false;
    }
    // Both separators count: the file layer maps '\' to the native one.
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = name.find_first_of("\\/", start);
        const std::string_view part =
            name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == "..") {
            reason = "picture name \"" + std::string(name) + "\" leads out of Pics";
            return false;
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return true;
}
