#include "framework/web/web_backend.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include "framework/audio_mixer.h"
#include "framework/backend.h"
#include "framework/headless/headless.h"
#include "framework/page_fit.h"
#include "framework/page_hash.h"
#include "framework/page_text.h"
#include "framework/palette_colours.h"
#include "framework/reports.h"
#include "framework/web/web_keys.h"
#include "framework/web/web_start_screen.h"

// What the page does for the engine (src/framework/web/keravon_lib.js).
extern "C" {
void krv_js_set_title(const char* title);
void krv_js_present(const std::uint8_t* rgba, int width, int height);
void krv_js_fatal(const char* text);
void krv_js_ended();
void krv_js_frame(int iteration, const char* hash);
int krv_js_open_audio();
void krv_js_close_audio();
void krv_js_word(const char* key, const char* text);
void krv_js_started();
void krv_js_scene(int scene);
void krv_js_answer(int question, int questionCount, int right, int won);
int krv_js_saved_progress(char* out, int capacity);
void krv_js_keep_progress(const char* text);
}

namespace {

constexpr double kIterationMs = 1000.0 / 30.0;
// A page that was hidden or stalled picks up from now instead of racing
// through the iterations it missed.
constexpr double kMaxLagMs = 250.0;
// Slow displays (below 30 frames per second) still get the game's speed, up
// to this many iterations per animation frame.
constexpr int kMaxIterationsPerFrame = 2;
// A script run is not paced: it runs iterations for this long in each
// animation frame, so the page still draws and the browser stays responsive.
constexpr double kScriptFrameBudgetMs = 12.0;
// The same safety limit as `krvtool run`: a script without an end still stops.
constexpr int kScriptIterationLimit = 100000;
// Room for the progress the page gives back: a progress line is well under
// 1000 characters; anything longer is not one and is handed over cut, to be
// dropped by the game as the garbage it is.
constexpr int kSavedProgressCapacity = 4096;

class WebBackend final : public Backend {
public:
    // The page's words come from the quiz folder, which is in place by now.
    bool init(std::string_view title) override {
        words_ = loadPageText();
        for (std::size_t i = 0; i < kPageWordCount; ++i)
            krv_js_word(std::string(kPageWords[i].key).c_str(), words_.words[i].c_str());
        const std::string& quizTitle = words_.word(PageWord::Title);
        krv_js_set_title(quizTitle.empty() ? std::string(title).c_str() : quizTitle.c_str());
        return true;
    }

    // The page has one mode; the choice to start is the start screen's,
    // which the loop shows before the first iteration (nothing may block here).
    bool chooseMode(ModeChoice& mode, int& windowed) override {
        if (script_) return script_->chooseMode(mode, windowed);
        windowed = 1;
        return true;
    }

    bool setMode(const ModeChoice& /*mode*/, int /*windowed*/) override { return true; }

    bool pollEvent(BackendEvent& event) override {
        if (script_) return script_->pollEvent(event);
        if (events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }

    void present(const std::uint8_t* pixels, const PaletteEntry* palette) override {
        palette_to_rgb<4>({pixels, kScreenPixels}, palette, rgba_.data());
        krv_js_present(rgba_.data(), kScreenWidth, kScreenHeight);
        if (script_) {
            krv_js_frame(script_->iteration(), page_hash_text(page_hash(pixels, palette)).c_str());
        }
    }

    void endIteration() override {
        noteSceneChange();
        if (script_) script_->endIteration();
    }

    void reportAnswer(const FwAnswer& answer) override {
        krv_js_answer(answer.question, answer.questionCount, answer.right ? 1 : 0,
                      answer.won ? 1 : 0);
    }

    // The page keeps progress for the quiz (the browser's storage, a learning
    // platform's suspend data) and gives it back when the player continues.
    // A script run replays from the start, whatever the page holds, and its
    // progress is kept as a player's would be.
    std::string savedProgress() override {
        if (script_) return {};
        std::string text(kSavedProgressCapacity, '\0');
        const int length = krv_js_saved_progress(text.data(), kSavedProgressCapacity);
        text.resize(static_cast<std::size_t>(std::clamp(length, 0, kSavedProgressCapacity - 1)));
        return text;
    }

    void keepProgress(std::string_view text) override {
        krv_js_keep_progress(std::string(text).c_str());
    }

    std::uint64_t microseconds() override {
        if (script_) return script_->microseconds();
        return static_cast<std::uint64_t>((emscripten_get_now() - clockOrigin_) * 1000.0);
    }

    void showFatalError(std::string_view text) override {
        stopped_ = true;
        krv_js_fatal(std::string(text).c_str());
    }

    void shutdown() override {
        if (stopped_) return;
        stopped_ = true;
        krv_js_ended();
    }

    // WebAudio pulls blocks from the mixer between animation frames, on the
    // page's one thread: no lock is needed around the game's changes.
    // A script run mixes 1/30 s per iteration into nothing, as headless runs do.
    bool openAudio(AudioMixer& mixer) override {
        if (script_) return script_->openAudio(mixer);
        if (!krv_js_open_audio()) return false;
        mixer_ = &mixer;
        return true;
    }

    void closeAudio() override {
        if (script_) {
            script_->closeAudio();
            return;
        }
        krv_js_close_audio();
        mixer_ = nullptr;
    }

    void mix(std::int16_t* out, int frames) {
        if (mixer_) {
            mixer_->mix(out, static_cast<std::size_t>(frames));
        } else {
            std::memset(out, 0, static_cast<std::size_t>(frames) * 2 * sizeof(std::int16_t));
        }
    }

    void runLoop(bool (*iteration)()) override {
        iteration_ = iteration;
        // From main it never returns: the page's own event loop calls frame()
        // from here on. A game played again returns to the page's call.
        emscripten_set_main_loop(&WebBackend::frameThunk, 0, playedAgain_ ? 0 : 1);
    }

    // ---- from the page ----
    // Script mode: the game's keys and clock come from a key script (the
    // format of `krvtool run --script`, read by the headless backend's own
    // code, so iteration N sees exactly what a headless run sees), the start
    // screen is passed as if Return had been pressed, and every presented
    // page is reported to the page by its hash. Asked before main runs.
    bool useScript(const std::string& path) {
        auto script = std::make_unique<HeadlessBackend>();
        std::string error;
        if (!script->loadScript(path, error)) {
            showFatalError(error);
            return false;
        }
        script->setIterationLimit(kScriptIterationLimit);
        script_ = std::move(script);
        started_ = true;
        krv_js_started();
        return true;
    }

    // True when the key is the game's, so the page holds the browser's action back.
    bool key(std::string_view code, bool down, bool repeat) {
        // The script alone presses keys in a script run.
        if (script_) return web_key_is_games(code);
        if (!started_) {
            if (down && !repeat) startScreenKey(web_key(code).scanCode);
            return web_key_is_games(code);
        }
        const WebKey key = web_key(code);
        const int scanCode = down ? keys_.keyDown(code, repeat) : keys_.keyUp(code);
        if (scanCode != 0) {
            BackendEvent event;
            event.kind = down ? BackendEvent::Kind::KeyDown : BackendEvent::Kind::KeyUp;
            event.scanCode = scanCode;
            event.character = down ? key.character : 0;
            events_.push_back(event);
        }
        return web_key_is_games(code);
    }

    void mouseDown() {
        if (script_) return;
        if (!started_) {
            start();
            return;
        }
        events_.push_back({BackendEvent::Kind::MouseDown});
    }

    void startFromPage() {
        if (!script_) start();
    }

    void focus(bool gained) {
        if (!gained) {
            // Keys released while the page had no focus never reach it:
            // without these the player would keep walking.
            if (script_) return;
            keys_.releaseAll([this](int scanCode) {
                BackendEvent event;
                event.kind = BackendEvent::Kind::KeyUp;
                event.scanCode = scanCode;
                events_.push_back(event);
            });
        }
        if (!started_) return;
        BackendEvent event;
        event.kind = gained ? BackendEvent::Kind::Activated : BackendEvent::Kind::Deactivated;
        events_.push_back(event);
    }

    void fullScreen(bool on) {
        if (!started_ || script_) return;
        BackendEvent event;
        event.kind = BackendEvent::Kind::ModeSwitched;
        event.windowed = on ? 0 : 1;
        events_.push_back(event);
    }

    // Before the game runs again in the same page: play starts at once (the
    // player chose it on the page), with no script; false while a game runs.
    bool prepareToPlayAgain() {
        if (started_ && !stopped_) return false;
        if (!stopped_) emscripten_cancel_main_loop();  // the start screen's loop
        events_.clear();
        keys_ = WebKeyState{};
        script_.reset();
        sceneCallback_ = nullptr;
        scene_ = 0;
        stopped_ = false;
        startScreenShown_ = true;
        playedAgain_ = true;
        started_ = false;
        start();
        return true;
    }

    static WebBackend& instance() {
        static WebBackend backend;
        return backend;
    }

private:
    static void frameThunk() { instance().frame(); }

    void frame() {
        if (stopped_) {
            emscripten_cancel_main_loop();
            return;
        }
        if (!started_) {
            if (!startScreenShown_) showStartScreen();
            return;
        }
        if (script_) {
            runScriptIterations();
            return;
        }
        const double now = emscripten_get_now();
        if (now - nextIterationMs_ > kMaxLagMs) nextIterationMs_ = now;
        for (int run = 0; run < kMaxIterationsPerFrame && now >= nextIterationMs_; ++run) {
            nextIterationMs_ += kIterationMs;
            if (!iteration_()) {
                emscripten_cancel_main_loop();
                return;
            }
        }
    }

    void runScriptIterations() {
        const double begin = emscripten_get_now();
        do {
            if (!iteration_()) {
                emscripten_cancel_main_loop();
                return;
            }
        } while (emscripten_get_now() - begin < kScriptFrameBudgetMs);
    }

    void showStartScreen() {
        startScreenShown_ = true;
        std::array<std::uint8_t, kScreenPixels>& pixels = startPixels_;
        DrawContext page;
        page.pixels = pixels.data();
        page.width = kScreenWidth;
        page.height = kScreenHeight;
        page.bytesPerLine = kScreenWidth;
        page.clipRight = kScreenWidth - 1;
        page.clipBottom = kScreenHeight - 1;
        draw_start_screen(page, fw_mode_dialog_look(), words_);
        present(pixels.data(), fw_mode_dialog_look().palette.data());
    }

    // A page is left by closing it: the start screen has no key to end the game.
    void startScreenKey(int scanCode) {
        if (scanCode == scan::kEnter) start();
    }

    void start() {
        if (started_ || stopped_) return;
        started_ = true;
        clockOrigin_ = emscripten_get_now();
        nextIterationMs_ = clockOrigin_;
        krv_js_started();
    }

    // The game changes its draw callback from scene to scene (intro, play,
    // ending); the page numbers them from 0 so that controls which only make
    // sense in one scene (skipping the intro) come and go with it.
    void noteSceneChange() {
        const DrawCallback now = fw_current_draw_callback();
        if (sceneCallback_ == nullptr) {
            sceneCallback_ = now;
        } else if (now != sceneCallback_) {
            sceneCallback_ = now;
            krv_js_scene(++scene_);
        }
    }

    PageText words_;
    std::deque<BackendEvent> events_;
    WebKeyState keys_;
    std::array<std::uint8_t, kScreenPixels * 4> rgba_{};
    std::array<std::uint8_t, kScreenPixels> startPixels_{};
    AudioMixer* mixer_ = nullptr;
    std::unique_ptr<HeadlessBackend> script_;  // set in script mode only
    bool (*iteration_)() = nullptr;
    DrawCallback sceneCallback_ = nullptr;
    int scene_ = 0;
    bool started_ = false;
    bool startScreenShown_ = false;
    bool stopped_ = false;
    bool playedAgain_ = false;
    double clockOrigin_ = 0.0;
    double nextIterationMs_ = 0.0;
};

}  // namespace

void fw_use_web_backend() { fw_use_backend(&WebBackend::instance()); }

bool fw_prepare_web_backend_to_play_again() {
    return WebBackend::instance().prepareToPlayAgain();
}

// Called by the page (keravon_lib.js); the code is KeyboardEvent.code.
extern "C" {
EMSCRIPTEN_KEEPALIVE int keravon_key(const char* code, int down, int repeat) {
    return WebBackend::instance().key(code ? code : "", down != 0, repeat != 0) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void keravon_mix(std::int16_t* out, int frames) {
    WebBackend::instance().mix(out, frames);
}
// `path` is a key script in the engine's file system; 0 when it cannot be
// read (the message is on the page).
EMSCRIPTEN_KEEPALIVE int keravon_script(const char* path) {
    return WebBackend::instance().useScript(path ? path : "") ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void keravon_mouse_down() { WebBackend::instance().mouseDown(); }
// The page's Continue on the start screen: play starts from the progress
// the game was given at start-up, as Return or a click would.
EMSCRIPTEN_KEEPALIVE void keravon_start() { WebBackend::instance().startFromPage(); }
EMSCRIPTEN_KEEPALIVE void keravon_focus(int gained) { WebBackend::instance().focus(gained != 0); }
EMSCRIPTEN_KEEPALIVE void keravon_full_screen(int on) { WebBackend::instance().fullScreen(on != 0); }
// Where the page goes in an area of the browser page, by the desktop's own
// rule: field 0 x, 1 y, 2 width, 3 height, 4 the sharp scale (page_fit.h).
EMSCRIPTEN_KEEPALIVE int keravon_fit_page(int width, int height, int field) {
    const PageRect rect = fit_page(width, height);
    const int fields[] = {rect.x, rect.y, rect.width, rect.height, rect.sharpScale};
    return field >= 0 && field < 5 ? fields[field] : 0;
}
}
