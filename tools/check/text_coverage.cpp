#include "check/text_coverage.h"

#include <cstdio>
#include <memory>
#include <variant>

#include "framework/files.h"
#include "framework/framework.h"
#include "framework/text_decode.h"
#include "logic/logic_file.h"
#include "shell/ending_file.h"
#include "shell/question_file.h"

namespace {

constexpr std::string_view kGameFont = "Fonts\\Cour20b.fnt";

struct FontDeleter {
    void operator()(GfxFont* font) const { gfx_free_font(font); }
};
using OwnedFont = std::unique_ptr<GfxFont, FontDeleter>;

std::string describe(char32_t codePoint) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(codePoint));
    return number;
}

void checkLogicMessages(const GfxFont& font, std::vector<std::string>& warnings) {
    TextFile file;
    if (!file.open(kLogicFile)) return;
    for (const LogicRecord& record : parseLogicFile(file).records) {
        const auto* object = std::get_if<LogicObject>(&record.value);
        if (!object) continue;
        for (std::size_t i = 0; i < object->message.size(); ++i) {
            warnings.push_back(missingCharacters(font, kLogicFile,
                                                 object->messageLine + static_cast<int>(i),
                                                 object->message[i]));
        }
    }
}

void checkQuestionLines(const GfxFont& font, std::vector<std::string>& warnings) {
    for (const QuestionRecord& question : readQuestionFile().questions) {
        for (const QuestionTextLine& line : question.textLines) {
            warnings.push_back(missingCharacters(font, kQuestionFilePath, line.line, line.text));
        }
    }
}

// Every line of the ending is shown; an empty one has nothing to miss.
void checkEndingLines(const GfxFont& font, std::vector<std::string>& warnings) {
    TextFile file;
    if (!file.open(kEndingFilePath)) return;
    std::string line;
    while (file.readLine(line)) {
        warnings.push_back(missingCharacters(font, kEndingFilePath, file.lineNumber(), line));
    }
}

}  // namespace

std::string missingCharacters(const GfxFont& font, std::string_view file, int line,
                              std::string_view text) {
    int column = 0;
    int firstColumn = 0;
    char32_t first = 0;
    int missing = 0;
    forEachCharacter(text, [&](char32_t codePoint) {
        ++column;
        if (gfx_font_has_glyph(&font, codePoint)) return;
        if (missing++ == 0) {
            firstColumn = column;
            first = codePoint;
        }
    });
    if (missing == 0) return {};
    std::string warning = std::string(file) + ":" + std::to_string(line) + ":" +
                          std::to_string(firstColumn) + ": warning: character " + describe(first);
    if (missing > 1) warning += " and " + std::to_string(missing - 1) + " more on this line";
    return warning + (missing > 1 ? " are" : " is") +
           " not in the game's font: each is drawn as a replacement mark";
}

std::vector<std::string> checkTextCoverage() {
    const OwnedFont font(gfx_load_font(kGameFont));
    if (!font) return {};
    std::vector<std::string> warnings;
    checkLogicMessages(*font, warnings);
    checkQuestionLines(*font, warnings);
    checkEndingLines(*font, warnings);
    std::erase(warnings, std::string());
    return warnings;
}
