#include "render/edge_stepper.h"

int EdgeStepper::setup() {
    const ScreenVertex& upper = *stack[index];
    const ScreenVertex& lower = *stack[index - 1];
    const int h = lower.y - upper.y;
    if (h == 0) return 0;
    const float height = static_cast<float>(h);
    xStep = static_cast<float>(lower.x - upper.x) / height;
    x = static_cast<float>(upper.x);
    uwStep = (lower.uw - upper.uw) / height;
    uw = upper.uw;
    vwStep = (lower.vw - upper.vw) / height;
    vw = upper.vw;
    wStep = (lower.w - upper.w) / height;
    w = upper.w;
    linesLeft = h;
    return h;
}
