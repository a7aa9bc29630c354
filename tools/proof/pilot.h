#pragma once
// The playtest's player: a headless backend that decides, at the start of
// every loop iteration, which keys to press from what the running game
// shows: the player's own position, maze and heading, the sought object,
// the question on the screen. It routes over the reach walk's lattice one
// step of 8 units per iteration, facing the way it walks on long runs, and
// plans again whenever the game's position is not the one the route
// expected, so rounding never takes it off its way. Every key it presses
// goes through the same delivery as a key script's, so the keys it played,
// written as a script, replay to the same frames.

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "check/reach.h"
#include "framework/headless/headless.h"
#include "proof/quiz_facts.h"

// A question screen as the player saw it, for the proof sheet.
struct QuestionCapture {
    int question = 0;                  // index in the question file
    int object = 0;                    // the object whose question it is
    int iteration = 0;                 // whose frame it is
    std::vector<std::uint8_t> pixels;  // 640x480 palette indices
    std::array<PaletteEntry, 256> palette{};
};

// A comment for the key script, placed before the keys of its iteration.
struct ScriptNote {
    int iteration = 0;
    std::string text;
};

class PilotBackend final : public HeadlessBackend {
public:
    // `wrongObject`: the object whose question is first answered wrongly
    // (-1: none).
    PilotBackend(const QuizFacts& quiz, const Router& router, int wrongObject);

    bool pollEvent(BackendEvent& event) override;
    void present(const std::uint8_t* pixels, const PaletteEntry* palette) override;

    // ---- what happened ----
    const std::vector<KeyAction>& played() const { return played_; }
    const std::vector<ScriptNote>& notes() const { return notes_; }
    const std::vector<QuestionCapture>& questionScreens() const { return screens_; }
    const std::vector<std::uint64_t>& frameHashes() const { return frameHashes_; }
    const std::string& failure() const { return failure_; }
    int firstPlayIteration() const { return firstPlay_; }
    int winningIteration() const { return wonAt_; }  // -1 until won
    int stepsWalked() const { return steps_; }
    int replans() const { return replans_; }

private:
    void decide();
    void answer(std::vector<KeyAction>& actions);
    void walk(std::vector<KeyAction>& actions);
    bool planRoute(int object);
    int keyForStep(int step) const;
    int turnKeyTowards(int step) const;
    int facing() const;  // the lattice step the view looks along, -1 between
    void holdOnly(int scanCode, std::vector<KeyAction>& actions);
    void fail(const std::string& reason);

    const QuizFacts& quiz_;
    const Router& router_;
    const int wrongObject_;

    std::vector<KeyAction> played_;
    std::vector<ScriptNote> notes_;
    std::vector<QuestionCapture> screens_;
    std::vector<std::uint64_t> frameHashes_;
    std::string failure_;

    int decidedFor_ = -1;
    std::set<int> held_;          // keys down now
    std::vector<int> pressed_;    // keys to let go at the next iteration
    std::set<int> screensTaken_;  // questions already on the sheet
    bool wrongAnswered_ = false;
    int firstPlay_ = -1;
    int wonAt_ = -1;

    // The route to the sought object and how far along it the player is.
    std::vector<RouteStep> route_;
    std::size_t routeNext_ = 0;
    bool stepTaken_ = false;  // the last iteration held a step key
    int routeObject_ = -1;
    Vec3 routeGoal_;
    int replansForGoal_ = 0;
    int steps_ = 0;
    int replans_ = 0;
};
