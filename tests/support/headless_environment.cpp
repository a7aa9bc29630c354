// Every test starts on the headless backend, as the tools do; a test that
// picks another backend goes back to it when it ends.
#include <gtest/gtest.h>

#include "framework/headless/headless.h"

namespace {

class HeadlessEnvironment : public testing::Environment {
public:
    void SetUp() override { fw_use_headless_backend(); }
};

const testing::Environment* const kHeadless = testing::AddGlobalTestEnvironment(new HeadlessEnvironment);

}  // namespace
