#pragma once
// A player's way through the quiz as a short line of text, so that a page
// that must close in the middle of a lesson (a browser tab, a learning
// platform's suspend data) can give it back later and the player continues
// where they stood. The game's rules are untouched: this only reads the
// world, the view and the question store, and sets them again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/matrix3.h"
#include "geometry/vec3.h"

struct Game;
class World;

struct Progress {
    std::uint32_t quizKey = 0;   // of the quiz it was taken in
    // Each right answer moves messages and questions on by one: kept as
    // they are, not worked out, so a quiz with several objects active from
    // the start comes back as it was too.
    std::int32_t question = 0;
    std::int32_t message = 0;
    std::int32_t currentObject = 0;
    struct Object {
        bool active = false;
        Vec3 position;  // wrong answers move objects to their other place
    };
    std::vector<Object> objects;
    std::int32_t maze = 0;
    Vec3 eye;
    Matrix3 orientation;
    std::int32_t pitch = 0;
};

// The same for the same objects in the same places, whichever of its two
// places each stands at now; another quiz (almost surely) gives another.
std::uint32_t quizKeyOf(const World& world);

// The running game's progress; none (false) before the intro is over or
// after the quiz is won: there is nothing to continue then.
bool captureProgress(const Game& g, Progress& progress);

// "KRV-PROGRESS 1 ..." on one line; floats as their bits, so they come back exact.
std::string formatProgress(const Progress& progress);
// False, with the reason, for text that is not a progress line of this version.
bool parseProgress(std::string_view text, Progress& progress, std::string& why);

// Puts the game where the progress says: the objects active or retired as
// they were, the same message and question, moved objects at their other
// place, the player in the maze at the place and direction kept, and the
// intro marked over (continue_saved_progress also ends it). Nothing changes and the reason is given when the progress
// does not fit this quiz.
bool applyProgress(Game& g, const Progress& progress, std::string& why);

// Hands the platform the progress as the game goes: at once when an answer
// changed it or the player asked to end the game, else at most twice a
// second while the player walks; and nothing left to continue once the quiz
// is won.
struct ProgressKeeper {
    static constexpr int kWalkInterval = 15;  // loop iterations

    void keep(const Game& g);

    // What was handed over last; compared as its line would be, which is
    // written only when it is handed over.
    std::optional<Progress> lastKept;
    int sinceKept = 0;
    bool ended = false;
};

// After start-up: continues from the progress the platform saved, if any;
// progress that does not fit this quiz is dropped with a line on stderr, the
// platform is handed empty progress (so it offers none again) and the game
// starts as new.
void continue_saved_progress();
