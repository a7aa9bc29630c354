#pragma once
// What the playtest knows of a quiz before it plays: the logic file's
// records, the object records among them in file order, the questions with
// their right answers, and the mazes with the one reach walk over them.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/reach.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "logic/logic_file_parser.h"
#include "shell/question_file.h"

struct QuizFacts {
    LogicFileContents logic;
    std::vector<const LogicRecord*> objects;  // the O records, object k at k
    QuestionFileContent questions;
    TextureList textures;  // the mazes' texture names; no bitmap is loaded
    std::array<std::unique_ptr<Model>, 3> mazes;
    std::vector<Model*> mazeModels;
    ReachWalk walk;

    const LogicObject& object(std::size_t k) const {
        return std::get<LogicObject>(objects[k]->value);
    }
};

// Reads the quiz of the current data root. Empty, with `failure` set as
// "file:line: reason", when the game could not start on it or a player
// could not reach an object (or the passage on the way to it); `wrongObject`
// is the object whose other position must be reachable too (-1: none).
std::unique_ptr<QuizFacts> readQuizFacts(int wrongObject, std::string& failure);

