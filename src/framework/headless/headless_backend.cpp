// The backend with no window. Time and input are whatever the caller says,
// so a run is the same every time: iteration N sees the same keys and the
// same clock on every machine, and its frame can be compared byte for byte.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "framework/audio.h"
#include "framework/files.h"
#include "framework/headless/headless.h"
#include "framework/pc_keys.h"

namespace {

struct KeyName {
    const char* name;
    int scanCode;
};

// Letters and digits are named by what the key types (pc_keys.h).
constexpr KeyName kKeyNames[] = {
    {"Esc", scan::kEscape},
    {"Escape", scan::kEscape},
    {"Enter", scan::kEnter},
    {"Return", scan::kEnter},
    {"Space", scan::kSpace},
    {"Tab", 15},
    {"Backspace", 14},
    {"Alt", scan::kAlt},
    {"Ctrl", 29},
    {"Shift", 42},
    {"F1", scan::kF1},
    {"F2", 60},
    {"F3", 61},
    {"F4", 62},
    {"F5", 63},
    {"F6", 64},
    {"F7", 65},
    {"F8", 66},
    {"F9", 67},
    {"F10", scan::kF10},
    {"F11", 87},
    {"F12", 88},
    {"Up", scan::kUp},
    {"Down", scan::kDown},
    {"Left", scan::kLeft},
    {"Right", scan::kRight},
    {"Home", scan::kHome},
    {"End", scan::kEnd},
    {"PgUp", scan::kPageUp},
    {"PgDn", scan::kPageDown},
    {"Ins", 82},
    {"Del", scan::kDelete},
};

// The letter or digit a key types, upper case, or 0 for any other key.
char letterOrDigitOf(int scanCode) {
    const int c = pc_key_character(scanCode);
    return c > 0 && c < 128 && std::isalnum(c) ? static_cast<char>(std::toupper(c)) : 0;
}

// The largest iteration a script may name: about a month at 30 per second.
constexpr long kMaxScriptIteration = 100'000'000;

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool parseNumber(std::string_view text, long limit, long& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= limit;
}

}  // namespace

HeadlessBackend::~HeadlessBackend() {
    // The framework's audio layer must not keep a backend that is gone.
    if (mixer_) fw_audio_close();
}

std::string HeadlessBackend::keyNameOfScanCode(int scanCode) {
    for (const KeyName& key : kKeyNames) {
        if (key.scanCode == scanCode) return key.name;
    }
    if (const char c = letterOrDigitOf(scanCode)) return std::string(1, c);
    return {};
}

int HeadlessBackend::scanCodeOfKeyName(std::string_view name) {
    for (const KeyName& key : kKeyNames) {
        if (sameName(name, key.name)) return key.scanCode;
    }
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        // Every key that types something has a code below 128.
        for (int code = 1; c != 0 && code < 128; ++code) {
            if (letterOrDigitOf(code) == c) return code;
        }
        return 0;
    }
    // Two or more digits are a raw scan code ("57", or "05" for code 5).
    long code = 0;
    if (parseNumber(name, 255, code) && code >= 1) return static_cast<int>(code);
    return 0;
}

bool HeadlessBackend::parseScript(std::string_view text, std::string_view name, KeyScript& script,
                                  std::string& error) {
    KeyScript parsed;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
        if (const auto comment = line.find('#'); comment != std::string_view::npos)
            line = line.substr(0, comment);

        std::istringstream words{std::string(line)};
        const std::vector<std::string> tokens{std::istream_iterator<std::string>(words),
                                              std::istream_iterator<std::string>()};
        if (tokens.empty()) continue;
        const auto fail = [&](const std::string& message) {
            error = std::string(name) + ":" + std::to_string(lineNumber) + ": " + message;
            return false;
        };
        long iteration = 0;
        if (!parseNumber(tokens[0], kMaxScriptIteration, iteration)) {
            return fail("'" + tokens[0] + "' is not an iteration number (0 to 100000000)");
        }
        if (tokens.size() < 2)
            return fail("an action (down, up, press, shot, end) must follow the iteration");
        const std::string& verb = tokens[1];
        const int at = static_cast<int>(iteration);
        const bool takesKey =
            sameName(verb, "down") || sameName(verb, "up") || sameName(verb, "press");
        if (takesKey) {
            if (tokens.size() != 3) return fail("'" + verb + "' takes exactly one key name");
            const int scanCode = scanCodeOfKeyName(tokens[2]);
            if (scanCode == 0) return fail("unknown key '" + tokens[2] + "'");
            if (sameName(verb, "up")) {
                parsed.actions.push_back({at, false, scanCode});
            } else {
                parsed.actions.push_back({at, true, scanCode});
                if (sameName(verb, "press")) parsed.actions.push_back({at + 1, false, scanCode});
            }
        } else if (sameName(verb, "shot") || sameName(verb, "end")) {
            if (tokens.size() != 2) return fail("'" + verb + "' takes nothing after it");
            if (sameName(verb, "shot")) {
                parsed.shots.insert(at);
            } else if (parsed.endIteration < 0 || at < parsed.endIteration) {
                parsed.endIteration = at;
            }
        } else {
            return fail("unknown action '" + verb + "' (down, up, press, shot, end)");
        }
    }
    script = std::move(parsed);
    return true;
}

bool HeadlessBackend::loadScript(const std::string& path, std::string& error) {
    std::string content;
    if (!fw_read_whole_file(path, content)) {
        error = path + ": cannot open the key script";
        return false;
    }
    std::erase(content, '\r');  // CR LF files read like LF files
    KeyScript script;
    if (!parseScript(content, path, script, error)) return false;
    setScript(std::move(script.actions));
    scriptShots_ = std::move(script.shots);
    scriptEnd_ = script.endIteration;
    return true;
}

void HeadlessBackend::setScript(std::vector<KeyAction> actions) {
    // Stable: actions of one iteration keep the order they were given in.
    std::stable_sort(actions.begin(), actions.end(), [](const KeyAction& a, const KeyAction& b) {
        return a.iteration < b.iteration;
    });
    script_ = std::move(actions);
    nextAction_ = 0;
}

void HeadlessBackend::captureFrames(std::string folder, std::set<int> frames, bool captureAll) {
    captureFolder_ = std::move(folder);
    captureSet_ = std::move(frames);
    captureAll_ = captureAll;
}

void HeadlessBackend::reset() {
    script_.clear();
    nextAction_ = 0;
    scriptShots_.clear();
    scriptEnd_ = -1;
    dialogAnswer_ = true;
    clock_ = 0;
    clockStep_ = 33333;
    iterationLimit_ = 0;
    iteration_ = 0;
    framesPresented_ = 0;
    framesWritten_ = 0;
    captureFailures_ = 0;
    presentedThisIteration_ = false;
    stoppedByLimit_ = false;
    shutDown_ = false;
    captureFolder_.clear();
    captureSet_.clear();
    captureAll_ = false;
    lastFrame_.fill(0);
    lastPalette_.fill(PaletteEntry{});
    // An open device stays open: the framework's audio layer closes it.
    finishAudio();
    audioWriteFailed_ = false;
    audioDevicePresent_ = true;
    keepAudio_ = false;
    savedProgress_.clear();
    keptProgress_.clear();
    progressKeeps_ = 0;
    keptAudio_.clear();
}

bool HeadlessBackend::init(std::string_view /*title*/) {
    return true;
}

bool HeadlessBackend::chooseMode(ModeChoice& /*mode*/, int& /*windowed*/) {
    return dialogAnswer_;
}

bool HeadlessBackend::setMode(const ModeChoice& /*mode*/, int /*windowed*/) {
    return true;
}

bool HeadlessBackend::pollEvent(BackendEvent& event) {
    // Actions left over from iterations already past (a script set in the
    // middle of a run) are dropped rather than delivered late.
    while (nextAction_ < script_.size() && script_[nextAction_].iteration < iteration_)
        ++nextAction_;
    if (nextAction_ >= script_.size() || script_[nextAction_].iteration != iteration_) return false;
    const KeyAction& action = script_[nextAction_++];
    event = BackendEvent{};
    event.kind = action.down ? BackendEvent::Kind::KeyDown : BackendEvent::Kind::KeyUp;
    event.scanCode = action.scanCode;
    event.character = pc_key_character(action.scanCode);
    return true;
}

bool HeadlessBackend::capturing(int iteration) const {
    return captureAll_ || captureSet_.contains(iteration) || scriptShots_.contains(iteration);
}

void HeadlessBackend::writeCapture() {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.png", iteration_);
    std::filesystem::path path(name);
    if (!captureFolder_.empty()) {
        std::error_code error;
        std::filesystem::create_directories(captureFolder_, error);
        path = std::filesystem::path(captureFolder_) / name;
    }
    if (write_page_png(path.string(), lastFrame_.data(), lastPalette_.data())) {
        ++framesWritten_;
    } else {
        ++captureFailures_;
        std::fprintf(stderr, "cannot write the frame %s\n", path.string().c_str());
    }
}

void HeadlessBackend::present(const std::uint8_t* pixels, const PaletteEntry* palette) {
    std::copy_n(pixels, lastFrame_.size(), lastFrame_.begin());
    std::copy_n(palette, lastPalette_.size(), lastPalette_.begin());
    ++framesPresented_;
    presentedThisIteration_ = true;
    if (capturing(iteration_)) writeCapture();
}

void HeadlessBackend::endIteration() {
    mixAudio();
    // An iteration that drew nothing (not active) still has a picture: the
    // screen goes on showing the last page.
    if (!presentedThisIteration_ && framesPresented_ > 0 && capturing(iteration_)) writeCapture();
    const bool scriptEnds = iteration_ == scriptEnd_;
    ++iteration_;
    presentedThisIteration_ = false;
    clock_ += clockStep_;
    if (scriptEnds) {
        fw_request_exit();
    } else if (iterationLimit_ > 0 && iteration_ >= iterationLimit_) {
        stoppedByLimit_ = true;
        fw_request_exit();
    }
}

void HeadlessBackend::showFatalError(std::string_view /*text*/) {
    // Never a box headless: the message is already on stderr.
}

void HeadlessBackend::shutdown() {
    shutDown_ = true;
    finishAudio();
}

bool HeadlessBackend::openAudio(AudioMixer& mixer) {
    if (!audioDevicePresent_) return false;
    mixer_ = &mixer;
    return true;
}

bool HeadlessBackend::recordAudio(const std::string& path) {
    finishAudio();
    audioWriteFailed_ = false;
    return recorder_.open(path);
}

bool HeadlessBackend::finishAudio() {
    if (recorder_.isOpen() && !recorder_.finish()) {
        audioWriteFailed_ = true;
        std::fprintf(stderr, "cannot write the sound recording %s\n", recorder_.path().c_str());
    }
    return !audioWriteFailed_;
}

void HeadlessBackend::mixAudio() {
    if (!mixer_ && !recorder_.isOpen() && !keepAudio_) return;
    // Each iteration is its own 1/30 s: what the game started in it sounds
    // from the start of that block.
    std::array<std::int16_t, kAudioFramesPerIteration * AudioMixer::kChannels> block{};
    if (mixer_) mixer_->mix(block.data(), kAudioFramesPerIteration);
    if (recorder_.isOpen()) recorder_.write(block.data(), kAudioFramesPerIteration);
    if (keepAudio_) keptAudio_.insert(keptAudio_.end(), block.begin(), block.end());
}

void fw_use_headless_backend() {
    static HeadlessBackend backend;
    fw_use_backend(&backend);
}
