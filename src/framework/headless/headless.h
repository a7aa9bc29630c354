#pragma once
// The backend with no window: tests and tools run the real game through it.
// A key script feeds key-down/up events per loop iteration, the caller owns
// the clock, and chosen frames are written as PNG files. Its audio device
// mixes exactly 1/30 s of sound at the end of each iteration, and the mix can
// be recorded to a WAV file or kept for a test.

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/audio_wav.h"
#include "framework/backend.h"

class HeadlessBackend : public Backend {
public:
    struct KeyAction {
        int iteration = 0;  // 0-based loop iteration whose event step sees it
        bool down = true;
        int scanCode = 0;
    };

    // A key script as read from text (format: docs/headless-runs.md).
    struct KeyScript {
        std::vector<KeyAction> actions;  // in the order of the lines
        std::set<int> shots;             // iterations whose frame is written
        int endIteration = -1;           // exit asked at its end; -1 none
    };

    HeadlessBackend() = default;
    // Closes the game's audio device when it is still open here.
    ~HeadlessBackend() override;
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // ---- set-up by the caller ----
    // Replaces the key actions; shots and the end of a loaded script stay.
    void setScript(std::vector<KeyAction> actions);
    // Forgets the loaded script's shots; its actions and end stay.
    void dropScriptShots() { scriptShots_.clear(); }
    // Reads a key script file, replacing actions, shots and end; on failure
    // returns false and says why as "file:line: message" in `error`.
    bool loadScript(const std::string& path, std::string& error);
    // The parser behind loadScript; `name` only appears in messages.
    static bool parseScript(std::string_view text, std::string_view name, KeyScript& script,
                            std::string& error);
    // The scan code of a script key name (case ignored), or 0.
    static int scanCodeOfKeyName(std::string_view name);
    // The name a script writes for a scan code (the first the table lists,
    // a letter or digit as itself), or "" for one without a name.
    static std::string keyNameOfScanCode(int scanCode);
    // Answer of the mode dialog (true = "Run KRV").
    void setDialogAnswer(bool run) { dialogAnswer_ = run; }
    // The progress a run continues from, as a browser page would give it.
    void setSavedProgress(std::string text) { savedProgress_ = std::move(text); }
    // The clock starts here and advances by `step` microseconds at the end
    // of each loop iteration (a steady 30 iterations per second by default).
    void setClock(std::uint64_t microseconds) { clock_ = microseconds; }
    void setClockStep(std::uint64_t step) { clockStep_ = step; }
    void advanceClock(std::uint64_t microseconds) { clock_ += microseconds; }
    // After this many iterations the loop is asked to end (0 = never).
    void setIterationLimit(int iterations) { iterationLimit_ = iterations; }
    // Frames (0-based iteration numbers) written to `folder` as frame_NNNNN.png,
    // besides the script's shots; captureAll writes every frame. The folder
    // is created at the first write; empty means the working folder.
    void captureFrames(std::string folder, std::set<int> frames, bool captureAll = false);

    // ---- sound ----
    // The mix of one loop iteration: 1/30 s whatever the clock step.
    static constexpr int kAudioFramesPerIteration = AudioMixer::kRate / 30;
    // Whether the run has an audio device (yes unless told otherwise);
    // without one every sound stays silent.
    void setAudioDevice(bool present) { audioDevicePresent_ = present; }
    // Records the mixed output from the next iteration on, silence included,
    // as a 44100 Hz 16-bit stereo WAV file at a native path; the file is
    // finished by shutdown, reset or finishAudio. False when the file cannot
    // be created.
    bool recordAudio(const std::string& path);
    // Finishes the recording; false when any part of it could not be written.
    bool finishAudio();
    // Keeps the mixed output in memory too (interleaved left, right), for tests.
    void keepAudio(bool keep) { keepAudio_ = keep; }

    // ---- what happened ----
    int iteration() const { return iteration_; }
    int framesPresented() const { return framesPresented_; }
    bool lastFrameValid() const { return framesPresented_ > 0; }
    const std::array<std::uint8_t, 640 * 480>& lastFrame() const { return lastFrame_; }
    const std::array<PaletteEntry, 256>& lastPalette() const { return lastPalette_; }
    bool shutDown() const { return shutDown_; }
    int framesWritten() const { return framesWritten_; }
    int captureFailures() const { return captureFailures_; }
    // True when the iteration limit, not the game or the script, ended the loop.
    bool stoppedByLimit() const { return stoppedByLimit_; }
    // Whether the game's sounds have an open device here now.
    bool audioOpen() const { return mixer_ != nullptr; }
    const std::vector<std::int16_t>& keptAudio() const { return keptAudio_; }
    // The latest progress the game asked to keep, and how often it asked.
    const std::string& keptProgress() const { return keptProgress_; }
    int progressKeeps() const { return progressKeeps_; }
    // Clears what happened and the script; keeps nothing from an earlier run.
    void reset();

    // ---- Backend ----
    bool init(std::string_view title) override;
    bool chooseMode(ModeChoice& mode, int& windowed) override;
    bool setMode(const ModeChoice& mode, int windowed) override;
    bool pollEvent(BackendEvent& event) override;
    void present(const std::uint8_t* pixels, const PaletteEntry* palette) override;
    void endIteration() override;
    std::uint64_t microseconds() override { return clock_; }
    void showFatalError(std::string_view text) override;
    void shutdown() override;
    bool openAudio(AudioMixer& mixer) override;
    void closeAudio() override { mixer_ = nullptr; }
    std::string savedProgress() override { return savedProgress_; }
    void keepProgress(std::string_view text) override {
        keptProgress_ = text;
        ++progressKeeps_;
    }

private:
    bool capturing(int iteration) const;
    void writeCapture();
    void mixAudio();

    std::vector<KeyAction> script_;  // sorted by iteration, stable
    std::set<int> scriptShots_;
    int scriptEnd_ = -1;
    int framesWritten_ = 0;
    int captureFailures_ = 0;
    bool stoppedByLimit_ = false;
    std::size_t nextAction_ = 0;
    bool dialogAnswer_ = true;
    std::string savedProgress_;
    std::string keptProgress_;
    int progressKeeps_ = 0;
    std::uint64_t clock_ = 0;
    std::uint64_t clockStep_ = 33333;
    int iterationLimit_ = 0;
    int iteration_ = 0;
    int framesPresented_ = 0;
    bool presentedThisIteration_ = false;
    bool shutDown_ = false;
    std::string captureFolder_;
    std::set<int> captureSet_;
    bool captureAll_ = false;
    std::array<std::uint8_t, 640 * 480> lastFrame_{};
    std::array<PaletteEntry, 256> lastPalette_{};
    AudioMixer* mixer_ = nullptr;  // the open device's; null when closed
    bool audioDevicePresent_ = true;
    bool keepAudio_ = false;
    bool audioWriteFailed_ = false;
    WavRecorder recorder_;
    std::vector<std::int16_t> keptAudio_;
};

// Makes the process's own headless backend the one every fw_ operation uses:
// the backend of the tools and the tests, and theirs again after a run
// that used a backend of its own.
void fw_use_headless_backend();

// Writes a 640x480 page of palette indices as an RGB PNG; false on failure.
bool write_page_png(const std::string& path, const std::uint8_t* pixels,
                    const PaletteEntry* palette, int width = 640, int height = 480);
