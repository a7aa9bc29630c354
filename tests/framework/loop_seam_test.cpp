// The main loop as a browser runs it: the backend takes the iteration and
// returns at once, and its caller runs one iteration at a time. The game must
// see the same loop as on the desktop, and the end of the loop the same
// clean-up.

#include <gtest/gtest.h>

#include "framework/backend.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"

namespace {

class SteppedBackend : public HeadlessBackend {
public:
    bool (*loop)() = nullptr;
    void runLoop(bool (*iteration)()) override { loop = iteration; }
};

int updates = 0;
int draws = 0;

TEST(LoopSeam, ABackendThatReturnsRunsTheSameIterationsOneByOne) {
    SteppedBackend backend;
    fw_reset();
    fw_use_backend(&backend);
    updates = 0;
    draws = 0;
    ASSERT_NE(fw_init("seam"), nullptr);
    fw_set_update_callback([] { ++updates; });
    fw_set_draw_callback([] {
        ++draws;
        fw_swap_buffers(1);
        if (draws == 3) fw_request_exit();
    });
    ModeChoice mode;
    int windowed = 1;
    ASSERT_TRUE(fw_choose_mode(&mode, &windowed));
    ASSERT_EQ(fw_set_mode(mode, windowed, 2, 1), 1);

    EXPECT_EQ(fw_main_loop(), 0);
    ASSERT_NE(backend.loop, nullptr);
    EXPECT_EQ(updates, 0);  // nothing ran before the caller's first call

    EXPECT_TRUE(backend.loop());
    EXPECT_TRUE(backend.loop());
    EXPECT_TRUE(fw_has_display());
    // The iteration that asks for the exit still updates and draws, then
    // closes the display: the caller is told to stop.
    EXPECT_FALSE(backend.loop());
    EXPECT_EQ(updates, 3);
    EXPECT_EQ(draws, 3);
    EXPECT_EQ(backend.framesPresented(), 3);
    EXPECT_EQ(backend.iteration(), 3);
    EXPECT_TRUE(backend.shutDown());
    EXPECT_FALSE(fw_has_display());

    fw_use_headless_backend();
    fw_reset();
}

}  // namespace
