#include "quiz/quiz_assets.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "check/game_mazes.h"
#include "framework/framework.h"
#include "framework/text_decode.h"
#include "pictures/picture_import.h"

namespace fs = std::filesystem;

namespace {

std::optional<RgbCanvas> loadPicture(const QuizValue& value, const fs::path& quizFolder,
                                     std::vector<QuizProblem>& problems) {
    if (!value.given()) return std::nullopt;
    // A name misspelt or a file not copied is the usual fault: say so plainly.
    std::error_code ignored;
    if (!fs::is_regular_file(quizFolder / value.text, ignored)) {
        problems.push_back({value.line, "picture '" + value.text +
                                            "' is missing: add the file beside the questions, or "
                                            "write its path from there"});
        return std::nullopt;
    }
    std::string error;
    auto picture = load_picture_file((quizFolder / value.text).string(), error);
    if (!picture) {
        problems.push_back({value.line, "picture '" + value.text + "' cannot be read (" + error +
                                            "): give a PNG, JPEG or BMP file, its path from the "
                                            "quiz file's folder"});
    }
    return picture;
}

std::string listed(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
    return out;
}

QuizObjectChoice chooseObject(const QuizQuestion& question, std::size_t index,
                              const fs::path& quizFolder, const std::vector<std::string>& library,
                              std::vector<QuizProblem>& problems) {
    if (!question.object.given()) {
        // Without a choice the library's models take turns.
        if (library.empty()) return {};
        const std::string& name = library[index % library.size()];
        return {name, name + ".krv", {}};
    }
    const std::string& value = question.object.text;
    if (isShapeFile(value)) {
        const fs::path shape = quizFolder / value;
        std::error_code code;
        if (!fs::is_regular_file(shape, code)) {
            problems.push_back({question.object.line,
                                "object source '" + value +
                                    "' is missing: give a .shape file's path from the quiz file's "
                                    "folder (docs/maze-format.md describes them)"});
            return {};
        }
        const std::string name = "quiz_" + shape.stem().string();
        return {name, name + ".krv", shape};
    }
    if (std::find(library.begin(), library.end(), value) == library.end()) {
        problems.push_back({question.object.line, "unknown object '" + value + "': use one of " +
                                                      listed(library) +
                                                      ", or a .shape file of your own"});
        return {};
    }
    return {value, value + ".krv", {}};
}

void checkText(const std::string& text, int line, const GfxFont& font,
               std::vector<QuizProblem>& problems) {
    bool reported = false;
    forEachCharacter(text, [&](char32_t c) {
        if (reported || gfx_font_has_glyph(&font, c)) return;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        problems.push_back({line, std::string("character ") + code +
                                      " is not in the game's font: write it another way "
                                      "(docs/quiz-text.md lists what the font has)"});
        reported = true;
    });
}

}  // namespace

bool isShapeFile(const std::string& value) {
    std::string lower = value;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.ends_with(".shape");
}

std::vector<std::string> libraryObjects(const fs::path& game) {
    std::vector<std::string> names;
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(game / "Objects", code)) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".krv") continue;
        if (std::find(kMazeFiles.begin(), kMazeFiles.end(), file) != kMazeFiles.end()) continue;
        names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

QuizAssets gatherAssets(const QuizFile& quiz, const fs::path& quizFolder,
                        const std::vector<std::string>& library,
                        std::vector<QuizProblem>& problems) {
    QuizAssets assets;
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const QuizQuestion& question = quiz.questions[i];
        assets.pictures.push_back(loadPicture(question.picture, quizFolder, problems));
        assets.objects.push_back(chooseObject(question, i, quizFolder, library, problems));
    }
    assets.introPicture = loadPicture(quiz.introPicture, quizFolder, problems);
    return assets;
}

bool saveScaledPicture(const RgbCanvas& source, int width, int height, const std::string& path) {
    return save_indexed_picture(path, dither_to_palette(resize_canvas(source, width, height)));
}

bool savePicture(const IndexedPicture& picture, const std::string& path) {
    return save_indexed_picture(path, picture);
}

void checkCharacters(const QuizFile& quiz, const GfxFont& font,
                     std::vector<QuizProblem>& problems) {
    checkText(quiz.title.text, quiz.title.line, font, problems);
    for (const QuizQuestion& question : quiz.questions) {
        for (const std::string& text : question.text)
            checkText(text, question.line, font, problems);
        for (const std::string& text : question.answers)
            checkText(text, question.line, font, problems);
        for (const std::string& text : question.hint)
            checkText(text, question.hintLine, font, problems);
    }
    for (const std::string& text : quiz.ending) checkText(text, quiz.endingLine, font, problems);
}
