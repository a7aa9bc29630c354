#pragma once
// krvtool playtest: plays a quiz in the real headless game from its first
// frame to the end of its ending, walking to each object in turn over the
// reach walk's lattice and answering each question rightly (and, when
// asked, one wrongly first), then writes the keys it pressed as a key
// script and a proof sheet of every question screen and message.
//
//   quiz_facts.h   the quiz read and walked before play; unreachable
//                  objects and passages found here
//   pilot.h        the player: keys chosen each iteration from the game
//   proof_sheet.h  the one picture for proof-reading
//   key_script.h   the keys played, as a script `krvtool run` replays

#include <cstdint>
#include <string>
#include <vector>

struct PlaytestOptions {
    std::string gameFolder;       // the folder with Objects/ Data/ Pics/ Fonts/ Wavs/
    std::string outFolder;        // gets play.keys and proof.png; made when missing
    int wrongObject = -1;         // answer this object's question wrongly first; -1: none
    int iterationLimit = 200000;  // about 1 h 50 min of game time
};

struct PlaytestResult {
    bool won = false;
    // "file:line: reason" of the first thing that stopped the quiz from
    // being won (empty when won).
    std::string failure;
    int firstPlayIteration = -1;  // the first iteration after the intro
    int winningIteration = -1;    // the iteration of the last right answer
    int lastIteration = -1;       // the ending over, the game ended
    int steps = 0;                // walking steps taken
    int replans = 0;  // routes planned again because the game put the eye elsewhere
    int questionScreens = 0;
    std::vector<std::uint64_t> frameHashes;  // every presented page, in order
    std::string keyScriptPath;
    std::string proofSheetPath;

    // Loop iterations from the first after the intro to the winning answer,
    // both included: the quiz's length at the game's pace.
    int iterationsToWin() const { return winningIteration - firstPlayIteration + 1; }
};

// Iterations per second of the game's pace.
inline constexpr int kGamePace = 30;

// Runs the whole playtest in this process; it changes the framework's data
// root and backend while it runs.
PlaytestResult runPlaytest(const PlaytestOptions& options);
