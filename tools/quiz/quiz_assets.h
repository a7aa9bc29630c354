#pragma once
// What a quiz file names beside it, made ready before anything is written:
// its pictures decoded, its objects found in the game's library or its
// shape sources named, and its words held against the game's font.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pictures/canvas.h"
#include "quiz/quiz_file.h"

struct GfxFont;

struct QuizObjectChoice {
    std::string name;                 // the logic file's name
    std::string file;                 // in Objects\ of the built quiz
    std::filesystem::path shape;      // a source to compile, or empty for a library model
};

struct QuizAssets {
    std::vector<std::optional<RgbCanvas>> pictures;  // per question
    std::optional<RgbCanvas> introPicture;
    std::vector<QuizObjectChoice> objects;           // per question
};

// The library: Objects/*.krv of the game folder but its mazes, by name.
// Whether an Object: line names a shape source of the author's (any case of
// ".shape") rather than a library model.
bool isShapeFile(const std::string& value);

std::vector<std::string> libraryObjects(const std::filesystem::path& game);

// Loads and chooses; every problem as `line: reason` of the quiz file.
QuizAssets gatherAssets(const QuizFile& quiz, const std::filesystem::path& quizFolder,
                        const std::vector<std::string>& library, std::vector<QuizProblem>& problems);

// A question's picture at the size its screen shows it, converted as
// `krvtool picture` converts; any picture as it is. False when not written.
bool saveScaledPicture(const RgbCanvas& source, int width, int height, const std::string& path);
bool savePicture(const IndexedPicture& picture, const std::string& path);

// Characters of the quiz's own texts that the font cannot draw.
void checkCharacters(const QuizFile& quiz, const GfxFont& font, std::vector<QuizProblem>& problems);
