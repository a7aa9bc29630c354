#include "shell/progress.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "geometry/model.h"
#include "framework/framework.h"
#include "shell/game.h"
#include "shell/intro.h"

namespace {

constexpr std::string_view kTag = "KRV-PROGRESS";
constexpr int kVersion = 1;

// FNV-1a: small, stable across platforms, enough to tell quizzes apart.
struct KeyHash {
    std::uint32_t value = 2166136261u;
    void add(std::uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            value ^= (word >> (8 * i)) & 0xffu;
            value *= 16777619u;
        }
    }
    void add(float f) { add(std::bit_cast<std::uint32_t>(f)); }
    void add(const Vec3& p) {
        add(p.x);
        add(p.y);
        add(p.z);
    }
    void add(std::string_view text) {
        add(static_cast<std::uint32_t>(text.size()));
        for (const char c : text) add(static_cast<std::uint32_t>(static_cast<unsigned char>(c)));
    }
};

bool before(const Vec3& a, const Vec3& b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    return a.z < b.z;
}

void putFloat(std::ostringstream& out, float f) {
    char hex[16];
    std::snprintf(hex, sizeof hex, " %08x", static_cast<unsigned>(std::bit_cast<std::uint32_t>(f)));
    out << hex;
}

// Reads whitespace-separated words from the line.
struct Words {
    std::string_view text;
    bool next(std::string_view& word) {
        const auto start = text.find_first_not_of(" \t\r\n");
        if (start == std::string_view::npos) return false;
        const auto end = text.find_first_of(" \t\r\n", start);
        word = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
        return true;
    }
    template <typename T>
    bool number(T& value, int base = 10) {
        std::string_view word;
        if (!next(word)) return false;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
        return error == std::errc() && end == word.data() + word.size();
    }
    // Always eight hex digits, so a line cut inside its last number fails.
    bool real(float& value) {
        std::string_view word;
        std::uint32_t bits = 0;
        if (!next(word) || word.size() != 8) return false;
        const auto [end, error] = std::from_chars(word.data(), word.data() + 8, bits, 16);
        if (error != std::errc() || end != word.data() + 8) return false;
        value = std::bit_cast<float>(bits);
        return value == value;  // no NaN: no place in a maze is one
    }
    bool point(Vec3& p) { return real(p.x) && real(p.y) && real(p.z); }
};

// Equal exactly when their progress lines would be: floats by their bits.
bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}
bool samePoint(const Vec3& a, const Vec3& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

// The part of the line that answers change: all but the player's place.
bool sameAnswers(const Progress& a, const Progress& b) {
    if (a.quizKey != b.quizKey || a.question != b.question || a.message != b.message ||
        a.currentObject != b.currentObject || a.objects.size() != b.objects.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        if (a.objects[i].active != b.objects[i].active ||
            !samePoint(a.objects[i].position, b.objects[i].position)) {
            return false;
        }
    }
    return true;
}

// The player's place: the maze, the eye and where it looks.
bool samePlace(const Progress& a, const Progress& b) {
    if (a.maze != b.maze || a.pitch != b.pitch || !samePoint(a.eye, b.eye)) return false;
    for (int i = 0; i < 9; ++i) {
        if (!sameBits(a.orientation.m[i], b.orientation.m[i])) return false;
    }
    return true;
}

}  // namespace

std::uint32_t quizKeyOf(const World& world) {
    KeyHash hash;
    hash.add(static_cast<std::uint32_t>(world.mazeCount));
    hash.add(static_cast<std::uint32_t>(world.objectCount));
    for (std::int32_t i = 0; i < world.objectCount; ++i) {
        const Slot& object = world.objectSlots[i];
        hash.add(object.name);
        hash.add(static_cast<std::uint32_t>(object.mazeIndex));
        const bool ordered = !before(object.otherPosition, object.position);
        hash.add(ordered ? object.position : object.otherPosition);
        hash.add(ordered ? object.otherPosition : object.position);
    }
    return hash.value;
}

bool captureProgress(const Game& g, Progress& progress) {
    const World& world = g.world;
    if (!g.state.introOver || g.state.gameWon) return false;
    progress = Progress{};
    progress.quizKey = quizKeyOf(world);
    progress.question = g.questions.current;
    progress.message = g.messages.currentMessage;
    progress.currentObject = world.currentObject;
    for (std::int32_t i = 0; i < world.objectCount; ++i) {
        const Slot& object = world.objectSlots[i];
        progress.objects.push_back({object.active != 0, object.position});
    }
    progress.maze = world.currentMaze;
    progress.eye = g.view.position;
    progress.orientation = g.view.orientation;
    progress.pitch = g.view.pitch;
    return true;
}

std::string formatProgress(const Progress& p) {
    std::ostringstream out;
    out << kTag << ' ' << kVersion << ' ' << std::hex << p.quizKey << std::dec << ' ' << p.question
        << ' ' << p.message << ' ' << p.currentObject << ' ' << p.maze << ' ' << p.pitch << ' ' << p.objects.size();
    for (const Progress::Object& object : p.objects) {
        out << ' ' << (object.active ? 1 : 0);
        putFloat(out, object.position.x);
        putFloat(out, object.position.y);
        putFloat(out, object.position.z);
    }
    putFloat(out, p.eye.x);
    putFloat(out, p.eye.y);
    putFloat(out, p.eye.z);
    for (const float m : p.orientation.m) putFloat(out, m);
    return out.str();
}

void ProgressKeeper::keep(const Game& g) {
    if (ended) return;
    Progress progress;
    if (!captureProgress(g, progress)) {
        if (g.state.gameWon) {
            fw_keep_progress({});
            ended = true;
        }
        return;
    }
    ++sinceKept;
    const bool answered = !lastKept || !sameAnswers(progress, *lastKept);
    if (!answered && samePlace(progress, *lastKept)) return;
    // The last steps before the game is ended by a key are kept too: the
    // page offers to continue from exactly there.
    if (!answered && sinceKept < kWalkInterval && !g.state.quitRequested) return;
    fw_keep_progress(formatProgress(progress));
    lastKept = std::move(progress);
    sinceKept = 0;
}

void continue_saved_progress() {
    const std::string text = fw_saved_progress();
    if (text.empty()) return;
    Game& g = game();
    Progress progress;
    std::string why;
    if (!parseProgress(text, progress, why) || !applyProgress(g, progress, why)) {
        std::fprintf(stderr, "The stored progress was dropped (%s): the quiz starts anew.\n",
                     why.c_str());
        // Nothing is left to continue: the platform forgets it and offers none.
        fw_keep_progress({});
        return;
    }
    skip_intro();
}

bool parseProgress(std::string_view text, Progress& progress, std::string& why) {
    Words words{text};
    std::string_view tag;
    int version = 0;
    if (!words.next(tag) || tag != kTag || !words.number(version)) {
        why = "not a progress line";
        return false;
    }
    if (version != kVersion) {
        why = "progress of another version (" + std::to_string(version) + ")";
        return false;
    }
    Progress p;
    std::size_t objectCount = 0;
    bool ok = words.number(p.quizKey, 16) && words.number(p.question) && words.number(p.message) &&
              words.number(p.currentObject) && words.number(p.maze) &&
              words.number(p.pitch) && words.number(objectCount) && objectCount <= 64;
    for (std::size_t i = 0; ok && i < objectCount; ++i) {
        Progress::Object object;
        int active = 0;
        ok = words.number(active) && (active == 0 || active == 1) && words.point(object.position);
        object.active = active == 1;
        p.objects.push_back(object);
    }
    ok = ok && words.point(p.eye);
    for (float& m : p.orientation.m) ok = ok && words.real(m);
    std::string_view rest;
    if (!ok || words.next(rest)) {
        why = "the progress line is cut short or garbled";
        return false;
    }
    progress = p;
    return true;
}

bool applyProgress(Game& g, const Progress& p, std::string& why) {
    World& world = g.world;
    if (p.quizKey != quizKeyOf(world) ||
        p.objects.size() != static_cast<std::size_t>(world.objectCount)) {
        why = "the progress belongs to another quiz";
        return false;
    }
    const auto within = [](std::int32_t value, std::int32_t count) {
        return value >= 0 && value < std::max(count, 1);
    };
    if (!within(p.question, g.questions.questionCount) ||
        !within(p.message, g.messages.messageCount) ||
        !within(p.currentObject, world.objectCount) || p.maze < 0 ||
        p.maze >= world.mazeCount || !world.mazeModel(p.maze) || p.pitch <= -360 ||
        p.pitch >= 360) {
        why = "the progress names an object or a maze this quiz does not have";
        return false;
    }
    for (std::int32_t i = 0; i < world.objectCount; ++i) {
        const Slot& object = world.objectSlots[i];
        const Vec3& kept = p.objects[i].position;
        if (!(kept == object.position) && !(kept == object.otherPosition)) {
            why = "object " + std::to_string(i) + " stands where this quiz never puts it";
            return false;
        }
    }

    for (std::int32_t i = 0; i < world.objectCount; ++i) {
        Slot& object = world.objectSlots[i];
        if (!(p.objects[i].position == object.position)) {
            std::swap(object.position, object.otherPosition);
        }
        object.active = p.objects[i].active ? 1 : 0;
    }
    g.messages.currentMessage = p.message;
    g.questions.current = p.question;
    world.currentObject = p.currentObject;
    world.restartMessageScroll();

    world.currentMaze = p.maze;
    g.view.setCollider(world.mazeModel(p.maze));
    g.view.setPosition(p.eye);
    g.view.orientation = p.orientation;
    g.view.pitch = p.pitch;
    for (std::int32_t m = 0; m < world.mazeCount; ++m) {
        SlotList<SoundZone>& zones = world.mazeSlots[m].soundZones;
        for (std::int32_t z = 0; z < zones.count; ++z) {
            zones.items[z].inside = zones.items[z].box.contains(p.eye) && m == p.maze ? 1 : 0;
        }
    }
    g.state.questionShown = 0;
    g.state.introOver = 1;
    return true;
}
