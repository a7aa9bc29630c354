// The portable core of the framework against a backend that delivers
// window events the headless one never makes: focus changes and fatal
// errors before any window exists.

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"

namespace {

class WindowEventBackend : public HeadlessBackend {
public:
    // Events delivered in the first loop iteration, before any scripted key.
    std::deque<BackendEvent::Kind> events;

    bool pollEvent(BackendEvent& event) override {
        if (events.empty()) return HeadlessBackend::pollEvent(event);
        event = BackendEvent{};
        event.kind = events.front();
        events.pop_front();
        return true;
    }
    // Says on stderr what a box would show, so a death test can see it.
    void showFatalError(std::string_view text) override {
        std::fprintf(stderr, "box shown: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// What the game's callbacks were told.
struct Told {
    std::vector<int> activate;
    std::vector<int> suspend;
    int suspendAnswer = 1;
    int draws = 0;
};
Told told;

void onActivate(int active) {
    told.activate.push_back(active);
}
int onSuspend(FwContext*, int leavingOrReturning) {
    told.suspend.push_back(leavingOrReturning);
    return told.suspendAnswer;
}
void onDraw() {
    ++told.draws;
}

class FrameworkCore : public ::testing::Test {
protected:
    void SetUp() override {
        fw_reset();
        fw_use_backend(&backend_);
        told = Told{};
    }
    void TearDown() override {
        fw_use_headless_backend();
        fw_reset();
    }
    // Two loop iterations on a display opened in a window or full screen,
    // `events` arriving in the first.
    void run(int windowed, std::deque<BackendEvent::Kind> events) {
        ASSERT_TRUE(fw_init("test"));
        fw_set_activate_callback(onActivate);
        fw_set_suspend_callback(onSuspend);
        fw_set_draw_callback(onDraw);
        ModeChoice mode;
        ASSERT_TRUE(fw_choose_mode(&mode, &windowed));
        ASSERT_TRUE(fw_set_mode(mode, windowed, 2, 1));
        backend_.events = std::move(events);
        backend_.setIterationLimit(2);
        fw_main_loop();
    }
    WindowEventBackend backend_;
};

using Kind = BackendEvent::Kind;

}  // namespace

TEST_F(FrameworkCore, WindowTellsActivationAndNeverSuspends) {
    run(1, {Kind::Deactivated, Kind::Activated, Kind::Deactivated});
    EXPECT_EQ(told.activate, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(told.suspend.empty());
    EXPECT_EQ(told.draws, 2);  // a window keeps drawing in the background
}

TEST_F(FrameworkCore, FullScreenAsksTheSuspendCallbackOnlyAndStopsDrawingWhileAway) {
    run(0, {Kind::Deactivated});
    EXPECT_TRUE(told.activate.empty());
    EXPECT_EQ(told.suspend, (std::vector<int>{1}));
    EXPECT_EQ(told.draws, 0);

    fw_reset();
    fw_use_backend(&backend_);
    backend_.reset();
    told = Told{};
    run(0, {Kind::Deactivated, Kind::Activated});
    EXPECT_TRUE(told.activate.empty());
    EXPECT_EQ(told.suspend, (std::vector<int>{1, 2}));
    EXPECT_EQ(told.draws, 2);
}

TEST_F(FrameworkCore, RefusedSuspensionKeepsTheGameDrawing) {
    told.suspendAnswer = 0;
    run(0, {Kind::Deactivated, Kind::Activated});
    // Never suspended, so never told of a return either.
    EXPECT_EQ(told.suspend, (std::vector<int>{1}));
    EXPECT_EQ(told.draws, 2);
}

TEST_F(FrameworkCore, FatalErrorBeforeTheWindowOpensStillShowsItsBox) {
    ASSERT_FALSE(fw_has_display());
    EXPECT_EXIT(gfx_fatal_error("Can't find all Bitmaps!"), ::testing::ExitedWithCode(1),
                "box shown: Can't find all Bitmaps!");
}

TEST(GfxErrorMessage, EveryCodeDownToMinus31HasItsOwnText) {
    std::set<std::string> texts;
    for (int code = 0; code >= -31; --code) {
        const std::string text = gfx_error_message(code);
        EXPECT_NE(text, "Invalid error number") << code;
        EXPECT_TRUE(texts.insert(text).second) << code << " repeats \"" << text << '"';
    }
    EXPECT_STREQ(gfx_error_message(0), "No error");
    EXPECT_STREQ(gfx_error_message(-32), "Invalid error number");
    EXPECT_STREQ(gfx_error_message(1), "Invalid error number");
}
