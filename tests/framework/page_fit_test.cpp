#include "framework/page_fit.h"

#include <gtest/gtest.h>

namespace {

void expectRect(const PageRect& rect, int x, int y, int width, int height, int sharpScale = 0) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.width, width);
    EXPECT_EQ(rect.height, height);
    EXPECT_EQ(rect.sharpScale, sharpScale);
}

}  // namespace

TEST(FitPage, WholeNumberScalesAreCentred) {
    expectRect(fit_page(640, 480), 0, 0, 640, 480);
    expectRect(fit_page(800, 600), 80, 60, 640, 480);
    expectRect(fit_page(1920, 1080), 320, 60, 1280, 960);
    expectRect(fit_page(1280, 1024), 0, 32, 1280, 960);
    expectRect(fit_page(3840, 2160), 640, 120, 2560, 1920);
    expectRect(fit_page(2560, 1440), 320, 0, 1920, 1440);
    // Wide enough for 3 but only tall enough for 1.
    expectRect(fit_page(2000, 500), 680, 10, 640, 480);
}

TEST(FitPage, SmallerAreasShrinkWithAspectKept) {
    expectRect(fit_page(320, 240), 0, 0, 320, 240);
    // Scale 1 would fill too little of the usual school laptop screens: the
    // page fills their height, enlarged twice and reduced smoothly.
    expectRect(fit_page(1366, 768), 171, 0, 1024, 768, 2);
    expectRect(fit_page(1280, 800), 107, 0, 1066, 800, 2);
    expectRect(fit_page(1440, 900), 120, 0, 1200, 900, 2);
    expectRect(fit_page(1536, 864), 192, 0, 1152, 864, 2);
    expectRect(fit_page(400, 480), 0, 90, 400, 300);
    expectRect(fit_page(640, 200), 187, 0, 266, 200);
    expectRect(fit_page(1, 1), 0, 0, 1, 1);
}

TEST(FitPage, EmptyAreaGivesEmptyRect) {
    expectRect(fit_page(0, 480), 0, 0, 0, 0);
    expectRect(fit_page(640, -5), 0, 0, 0, 0);
}
