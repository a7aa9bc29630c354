#include "shell/content_file.h"

#include <cstdio>

#include "framework/files.h"

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

bool isSafePictureName(std::string_view name, std::string& reason) {
    // The rule is the file layer's; an empty name stays in Pics here, and
    // loading it fails as a missing picture.
    if (name.empty() || isContainedFileName(name)) return true;
    reason = "picture name \"" + std::string(name) + "\" " +
             (isAbsoluteFileName(name) ? "is absolute; it must lie in Pics" : "leads out of Pics");
    return false;
}
