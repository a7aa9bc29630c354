#include "proof/quiz_facts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "check/game_mazes.h"
#include "collision/move_test.h"
#include "framework/files.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "sound/game_sounds.h"

namespace {

// The reached eye nearest to `p` across the floor, for saying how far off
// an object stands.
std::optional<Vec3> nearestReached(const MazeReach& reach, const Vec3& p) {
    std::optional<Vec3> best;
    float bestDistance = std::numeric_limits<float>::max();
    for (const auto& [place, eye] : reach.reached) {
        const float d = std::hypot(eye.x - p.x, eye.z - p.z);
        if (d < bestDistance) {
            bestDistance = d;
            best = eye;
        }
    }
    return best;
}

// Why no player reaches `position` of object k: the way into its maze, or
// the nearest place the walk came to.
std::string unreachable(const QuizFacts& quiz, std::size_t k, const Vec3& position, bool other) {
    const LogicRecord& record = *quiz.objects[k];
    const LogicObject& object = quiz.object(k);
    const std::int32_t m = record.maze;
    const std::string what = "object '" + object.name + "' at its " +
                             (other ? "other position " : "position ") + describePoint(position) +
                             " in maze " + std::to_string(m);
    const MazeReach& reach = quiz.walk.mazes[m];
    if (reach.reached.empty()) {
        // The maze is never entered: name the first passage into it that
        // no player reaches.
        const auto& links = quiz.walk.passages;
        for (std::size_t from = 0; from < links.size(); ++from) {
            for (const PassageLink& passage : links[from]) {
                if (passage.targetMaze != m || quiz.walk.mazes[from].anyInside(passage.box))
                    continue;
                return logicFileLine(passage.line,
                                     "the passage box from " + describePoint(passage.box.min) +
                                         " to " + describePoint(passage.box.max) + " in maze " +
                                         std::to_string(from) +
                                         " cannot be reached by a walking player, so nobody "
                                         "enters maze " +
                                         std::to_string(m) + " to find " + what + " (line " +
                                         std::to_string(record.line) + ")");
            }
        }
        return logicFileLine(record.line,
                             what +
                                 " cannot be reached: no passage a player can reach leads "
                                 "into maze " +
                                 std::to_string(m));
    }
    std::string why = " cannot be reached by a walking player";
    if (const auto nearest = nearestReached(reach, position)) {
        const Vec3 floor{nearest->x, nearest->y - kEyeHeight, nearest->z};
        why += ": the nearest floor a player reaches is " + describePoint(floor) + ", " +
               std::to_string(static_cast<int>(
                   std::lround(std::hypot(nearest->x - position.x, nearest->z - position.z)))) +
               " units away across the floor (the question shows within 50 on every axis)";
    }
    return logicFileLine(record.line, what + why);
}

}  // namespace

std::unique_ptr<QuizFacts> readQuizFacts(int wrongObject, std::string& failure) {
    buildTrigTables();
    auto quiz = std::make_unique<QuizFacts>();
    TextFile file;
    if (!file.open(kLogicFile)) {
        failure =
            std::string(kLogicFile) + ": missing: the game cannot start without its logic file";
        return nullptr;
    }
    quiz->logic = parseLogicFile(file);
    quiz->mazes = loadGameMazes(quiz->textures);
    std::vector<MazeFacts> facts;
    for (const auto& maze : quiz->mazes) {
        quiz->mazeModels.push_back(maze.get());
        facts.push_back({maze->loaded});
    }
    // The game starts in maze 0; the others matter only where the logic
    // file leads, which the judging below looks at.
    if (!quiz->mazes[0]->loaded) {
        failure = quiz->mazes[0]->loadError.describe();
        return nullptr;
    }
    // What would stop the game stops the playtest first, with the line.
    const auto judged =
        judgeLogicFile(quiz->logic, facts, static_cast<int>(std::size(kSoundFiles)));
    const std::vector<LogicProblem>* lists[] = {&quiz->logic.problems, &judged};
    for (const std::vector<LogicProblem>* list : lists) {
        for (const LogicProblem& problem : *list) {
            if (!problem.fatalMessage) continue;
            failure = logicFileLine(problem.line,
                                    problem.reason + " (krvtool check lists every problem)");
            return nullptr;
        }
    }
    for (const LogicRecord& record : quiz->logic.records) {
        if (std::holds_alternative<LogicObject>(record.value)) quiz->objects.push_back(&record);
    }
    if (quiz->objects.empty()) {
        failure = std::string(kLogicFile) + ": no object: there is nothing to find";
        return nullptr;
    }
    quiz->questions = readQuestionFile();
    if (!quiz->questions.opened) {
        failure = std::string(kQuestionFilePath) + ": cannot open the file: no questions";
        return nullptr;
    }

    quiz->walk = walkReach(quiz->logic, quiz->mazeModels, kMazeHome);
    for (std::size_t k = 0; k < quiz->objects.size(); ++k) {
        const LogicObject& object = quiz->object(k);
        const bool both = static_cast<int>(k) == wrongObject;
        for (const bool other : {false, true}) {
            if (other && !both) break;
            const Vec3& p = other ? object.otherPosition : object.position;
            const std::int32_t m = quiz->objects[k]->maze;
            if (m < 0 || m >= static_cast<std::int32_t>(quiz->walk.mazes.size())) {
                failure =
                    logicFileLine(quiz->objects[k]->line,
                                  "object '" + object.name + "' stands in maze " +
                                      std::to_string(m) + ", which does not exist (mazes 0 to 2)");
                return nullptr;
            }
            if (!quiz->walk.mazes[m].anyStandingInside(objectReachBox(p))) {
                failure = unreachable(*quiz, k, p, other);
                return nullptr;
            }
        }
    }
    return quiz;
}
