#include "proof/pilot.h"

#include <algorithm>
#include <cmath>

#include "framework/page_hash.h"
#include "logic/logic_file.h"
#include "shell/game.h"
#include "shell/movement.h"

namespace {

// A straight run of at least this many steps is walked facing it; shorter
// ones are taken sideways or backwards from the heading the player has, as
// turning a quarter costs six iterations.
constexpr int kFaceRun = 12;
// The same sought object planned for this often means the game keeps
// refusing what the lattice promised: give up rather than loop.
constexpr int kMaxReplansPerGoal = 50;
// The game's eye and a route's next place agree within this (float rounding
// of a step along a turned view is millionths of a unit).
constexpr float kOnRoute = 0.5f;
// A view looks along a lattice step when their directions differ by less
// than 2.5 degrees; turns are 15 degrees, so there is no doubt between.
constexpr float kAligned = 0.999f;

bool near(const Vec3& a, const Vec3& b) {
    return std::fabs(a.x - b.x) < kOnRoute && std::fabs(a.y - b.y) < kOnRoute &&
           std::fabs(a.z - b.z) < kOnRoute;
}

float along(float x, float z, int step) {
    return (x * kLatticeOffsets[step][0] + z * kLatticeOffsets[step][1]) / kReachStep;
}

// The first active object: the one the game seeks (several may be active
// when a quiz starts with more than one).
int soughtObject(const World& world) {
    for (int j = 0; j < world.objectCount; ++j) {
        if (world.objectSlots[j].active) return j;
    }
    return -1;
}

}  // namespace

PilotBackend::PilotBackend(const QuizFacts& quiz, const Router& router, int wrongObject)
    : quiz_(quiz), router_(router), wrongObject_(wrongObject) {}

bool PilotBackend::pollEvent(BackendEvent& event) {
    if (decidedFor_ != iteration()) {
        decidedFor_ = iteration();
        decide();
    }
    return HeadlessBackend::pollEvent(event);
}

void PilotBackend::present(const std::uint8_t* pixels, const PaletteEntry* palette) {
    frameHashes_.push_back(page_hash(pixels, palette));
    HeadlessBackend::present(pixels, palette);
}

void PilotBackend::decide() {
    const int now = iteration();
    std::vector<KeyAction> actions;
    for (const int key : pressed_) actions.push_back({now, false, key});
    pressed_.clear();
    if (failure_.empty() && game_exists()) {
        const Game& g = game();
        if (g.state.gameWon) {
            if (wonAt_ < 0) wonAt_ = now - 1;
            holdOnly(0, actions);
        } else if (!g.state.introOver) {
            // Esc ends the intro at once; the walk starts in the next iteration.
            if (now == 0) {
                notes_.push_back({now, "Esc ends the intro"});
                actions.push_back({now, true, scan::kEscape});
                pressed_.push_back(scan::kEscape);
            }
        } else {
            if (firstPlay_ < 0) firstPlay_ = now;
            if (g.state.questionShown) {
                answer(actions);
            } else {
                walk(actions);
            }
        }
    }
    played_.insert(played_.end(), actions.begin(), actions.end());
    // Delivered the way a key script's actions are.
    setScript(std::move(actions));
}

void PilotBackend::answer(std::vector<KeyAction>& actions) {
    const Game& g = game();
    const int now = iteration();
    holdOnly(0, actions);
    stepTaken_ = false;
    const int question = g.questions.current;
    const int object = g.world.currentObject;
    // The page of the last iteration shows the question as the player sees it.
    if (screensTaken_.insert(question).second) {
        QuestionCapture screen{question, object, now - 1,
                              std::vector<std::uint8_t>(lastFrame().begin(), lastFrame().end()),
                              lastPalette()};
        screens_.push_back(std::move(screen));
    }
    const auto& records = quiz_.questions.questions;
    if (question < 0 || question >= static_cast<int>(records.size())) {
        fail(std::string(kQuestionFilePath) + ": no question " + std::to_string(question + 1) +
             " for object " + std::to_string(object) + ": nobody can answer it");
        return;
    }
    const QuestionRecord& record = records[question];
    const int right = record.correctAnswer;
    if (right < 1 || right > 3) {
        const int line = record.answerLine > 0 ? record.answerLine : record.line;
        fail(std::string(kQuestionFilePath) + ":" + std::to_string(line) + ": question " +
             std::to_string(question + 1) + " has no right answer 1, 2 or 3 (it says " +
             std::to_string(right) + "): nobody can win the quiz");
        return;
    }
    int digit = right;
    std::string how = "the right answer";
    if (object == wrongObject_ && !wrongAnswered_) {
        wrongAnswered_ = true;
        digit = right == 1 ? 2 : 1;
        how = "a wrong answer on purpose: the object moves to its other position";
    }
    const bool known = object >= 0 && object < static_cast<int>(quiz_.objects.size());
    notes_.push_back({now, "question " + std::to_string(question + 1) + " (object " +
                               std::to_string(object) +
                               (known ? " '" + quiz_.object(object).name + "'" : std::string()) +
                               "): " + std::to_string(digit) + ", " + how});
    const int key = scan::k1 + digit - 1;
    actions.push_back({now, true, key});
    pressed_.push_back(key);
}

void PilotBackend::walk(std::vector<KeyAction>& actions) {
    const Game& g = game();
    const int object = soughtObject(g.world);
    if (object < 0) {
        fail(std::string(kLogicFile) +
             ": no object is sought and the quiz is not won: give the "
             "first object the active value 1");
        return;
    }
    const Vec3 goal = g.world.objectSlots[object].position;
    bool plan = object != routeObject_ || !(goal == routeGoal_);
    if (plan) {
        replansForGoal_ = 0;
    } else if (routeNext_ >= route_.size() ||
               (stepTaken_ && (route_[routeNext_ - 1].maze != g.world.currentMaze ||
                               !near(route_[routeNext_ - 1].eye, g.view.position)))) {
        // The game put the eye elsewhere than the lattice said: start again
        // from where it really is.
        plan = true;
        ++replans_;
        if (++replansForGoal_ > kMaxReplansPerGoal) {
            fail(std::string(kLogicFile) + ":" + std::to_string(quiz_.objects[object]->line) +
                 ": the way to object '" + quiz_.object(object).name + "' keeps failing near " +
                 describePoint(g.view.position) + " in maze " +
                 std::to_string(g.world.currentMaze) + ": the move test refuses steps there");
            return;
        }
    }
    stepTaken_ = false;
    if (plan && !planRoute(object)) return;

    const int step = route_[routeNext_].step;
    int run = 1;
    while (routeNext_ + run < route_.size() && route_[routeNext_ + run].step == step) ++run;
    const int face = facing();
    const int want = (run >= kFaceRun || face < 0) ? step : face;
    if (face != want) {
        holdOnly(turnKeyTowards(want), actions);
        return;
    }
    holdOnly(keyForStep(step), actions);
    ++routeNext_;
    ++steps_;
    stepTaken_ = true;
}

bool PilotBackend::planRoute(int object) {
    const Game& g = game();
    const Slot& slot = g.world.objectSlots[object];
    routeObject_ = object;
    routeGoal_ = slot.position;
    routeNext_ = 0;
    auto route = router_.route(g.world.currentMaze, g.view.position, slot.mazeIndex,
                               objectReachBox(slot.position));
    const bool known = object < static_cast<int>(quiz_.objects.size());
    const std::string name = known ? quiz_.object(object).name : std::to_string(object);
    const int line = known ? quiz_.objects[object]->line : 0;
    if (!route || route->empty()) {
        const bool other = known && !(slot.position == quiz_.object(object).position);
        fail(std::string(kLogicFile) + ":" + std::to_string(line) + ": object '" + name +
             "' at its " + (other ? "other position " : "position ") +
             describePoint(slot.position) + " in maze " + std::to_string(slot.mazeIndex) +
             " cannot be reached from " + describePoint(g.view.position) + " in maze " +
             std::to_string(g.world.currentMaze) +
             ", where the player stands: no walk leads there from here (a drop too high to "
             "climb back, or a passage that only leads away)");
        return false;
    }
    route_ = std::move(*route);
    const bool other = known && !(slot.position == quiz_.object(object).position);
    notes_.push_back({iteration(), "to object " + std::to_string(object) + " '" + name + "'" +
                                       (other ? " at its other position" : "") + " (" + kLogicFile +
                                       ":" + std::to_string(line) + ") in maze " +
                                       std::to_string(slot.mazeIndex) + ": " +
                                       std::to_string(route_.size()) + " steps from " +
                                       describePoint(g.view.position)});
    return true;
}

int PilotBackend::facing() const {
    const Matrix3& o = game().view.orientation;
    for (int step = 0; step < kLatticeSteps; ++step) {
        if (along(o[2], o[8], step) > kAligned) return step;
    }
    return -1;
}

int PilotBackend::keyForStep(int step) const {
    // Up and Down move along the line of sight (column 2 of the view), the
    // sidesteps along the camera's x axis (column 0); the pilot never tilts.
    const Matrix3& o = game().view.orientation;
    const float forward = along(o[2], o[8], step);
    const float right = along(o[0], o[6], step);
    if (forward > kAligned) return scan::kUp;
    if (forward < -kAligned) return scan::kDown;
    return right > 0.0f ? scan::kPageUp : scan::kHome;
}

int PilotBackend::turnKeyTowards(int step) const {
    // Tried on copies of the game's own view, so the choice follows the
    // game's turning exactly, whatever its sign conventions.
    PlayerView right = game().view;
    PlayerView left = game().view;
    right.turn(kTurnStep);
    left.turn(-kTurnStep);
    const float towardsRight = along(right.orientation[2], right.orientation[8], step);
    const float towardsLeft = along(left.orientation[2], left.orientation[8], step);
    return towardsRight >= towardsLeft ? scan::kRight : scan::kLeft;
}

void PilotBackend::holdOnly(int scanCode, std::vector<KeyAction>& actions) {
    const int now = iteration();
    for (auto it = held_.begin(); it != held_.end();) {
        if (*it == scanCode) {
            ++it;
            continue;
        }
        actions.push_back({now, false, *it});
        it = held_.erase(it);
    }
    if (scanCode != 0 && held_.insert(scanCode).second) actions.push_back({now, true, scanCode});
}

void PilotBackend::fail(const std::string& reason) {
    if (failure_.empty()) failure_ = reason;
    fw_request_exit();
}
