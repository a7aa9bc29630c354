#include "objects/object_faults.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "maze/model_check.h"
#include "source_words.h"

namespace {

// The shape line's first word and the number after it (the sides of a
// ring), from the source text as written.
struct PartLine {
    std::string kind;
    int sides = 0;
};

PartLine partLine(const std::string& sourceText, int line) {
    std::istringstream in(sourceText);
    std::string row;
    for (int n = 1; std::getline(in, row); ++n) {
        if (n != line) continue;
        const std::vector<SourceWord> words = splitSourceWords(row, false);
        PartLine part;
        if (!words.empty()) part.kind = words[0].text;
        if (words.size() > 1) part.sides = std::atoi(words[1].text.c_str());
        return part;
    }
    return {};
}

std::string partName(const std::string& sourceText, int line) {
    const std::string kind = partLine(sourceText, line).kind;
    return (kind.empty() ? std::string("part") : "the " + kind) + " at line " + std::to_string(line);
}

bool hasSides(const std::string& kind) {
    return kind == "sphere" || kind == "prism" || kind == "frustum" || kind == "bipyramid";
}

std::string square(double low) {
    return std::to_string(static_cast<int>(low)) + " to " + std::to_string(static_cast<int>(low) + kObjectGridCell);
}

}  // namespace

std::string object_grid_fault(const std::string& sourcePath, const std::string& sourceText,
                              const ModelData& model) {
    const GridLoad load = collision_grid_load(model, kObjectGridCell);
    if (load.maxEntries <= kObjectGridCapacity) return {};
    std::map<int, int> byLine;
    for (const int polygon : load.polygons) ++byLine[model.polygons[polygon].part];
    std::vector<std::pair<int, int>> lines(byLine.begin(), byLine.end());  // line, count
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    const int worst = lines.front().first;
    const PartLine part = partLine(sourceText, worst);
    const std::string name = partName(sourceText, worst);

    // What to do first, then why, then the count of every line involved.
    std::string text = sourcePath + ":" + std::to_string(worst) + ": ";
    const int over = load.maxEntries - kObjectGridCapacity;
    if (hasSides(part.kind) && part.sides > 3) {
        const double perSide = static_cast<double>(lines.front().second) / part.sides;
        const int fewer = std::min(part.sides - 3, static_cast<int>(over / perSide) + 1);
        text += "use fewer sides on " + name + " (" + std::to_string(part.sides) + " now; try " +
                std::to_string(part.sides - fewer) + ")" + (part.kind == "sphere" ? " or fewer rings" : "");
    } else {
        text += "use fewer parts over the square x " + square(load.cellX) + ", z " + square(load.cellZ) + " (" +
                std::to_string(lines.size()) + " add to it)";
    }
    text += ": " + std::to_string(load.maxEntries) +
            " floor and ceiling faces fall in one square of the object's collision grid (x " + square(load.cellX) +
            ", z " + square(load.cellZ) + "), more than the " + std::to_string(kObjectGridCapacity) +
            " the game holds (it would stop with \"Couldn't finish creation of collision detection data "
            "structure\"); ";
    for (std::size_t i = 0; i < lines.size() && i < 4; ++i) {
        text += (i == 0 ? "" : ", ") +
                (lines[i].first >= 0 ? partName(sourceText, lines[i].first) : std::string("other parts")) +
                " adds " + std::to_string(lines[i].second) + (i == 0 ? " of them" : "");
    }
    return text;
}

std::string object_compile_fault(const std::string& sourcePath, const std::string& sourceText,
                                 const std::vector<int>& parts, const std::string& finding) {
    if (parts.empty()) return sourcePath + ": " + finding;
    std::string names;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        names += (i == 0 ? "" : " and ") + partName(sourceText, parts[i]);
    }
    std::string text = sourcePath + ":" + std::to_string(parts.front()) + ": ";
    if (parts.size() > 1) {
        text += names + " cut into each other where their faces meet at too flat an angle to split cleanly";
    } else {
        text += names + " cannot be split cleanly where other parts cut into it";
    }
    return text + "; parts may overlap, but move or turn one by a unit or a few degrees (" + finding + ")";
}
