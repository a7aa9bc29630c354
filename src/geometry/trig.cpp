#include "geometry/trig.h"

#include <cmath>

float cosTable[360];
float sinTable[360];

void buildTrigTables() {
    // The factor is pi/180 as written with ten digits; the product is rounded
    // to a float, so cosTable[90] is about -4.37e-8, not 0.
    constexpr double kDegreesToRadians = 0.017453292519444445;
    for (int i = 0; i < 360; ++i) {
        const float angle = static_cast<float>(i * kDegreesToRadians);
        cosTable[i] = static_cast<float>(std::cos(static_cast<double>(angle)));
        sinTable[i] = static_cast<float>(std::sin(static_cast<double>(angle)));
    }
}

CosSin cosSinOf(int degrees) {
    if (degrees >= 0) return {cosTable[degrees], sinTable[degrees]};
    return {cosTable[-degrees], -sinTable[-degrees]};
}
