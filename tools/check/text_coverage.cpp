#include "check/text_coverage.h"

#include <cstdio>
#include <memory>

#include "check/content_texts.h"
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

std::vector<std::string> checkTextCoverage(const ContentTexts& texts) {
    const OwnedFont font(gfx_load_font(kGameFont));
    if (!font) return {};
    std::vector<std::string> warnings;
    for (const ContentTextLine& line : texts.messages) {
        warnings.push_back(missingCharacters(*font, kLogicFile, line.line, line.text));
    }
    for (const QuestionRecord& question : texts.questions.questions) {
        for (const QuestionTextLine& line : question.textLines) {
            warnings.push_back(missingCharacters(*font, kQuestionFilePath, line.line, line.text));
        }
    }
    // Every line of the ending is shown; an empty one has nothing to miss.
    for (const ContentTextLine& line : texts.ending) {
        warnings.push_back(missingCharacters(*font, kEndingFilePath, line.line, line.text));
    }
    std::erase(warnings, std::string());
    return warnings;
}
