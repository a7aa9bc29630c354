#include "geometry/edge_geometry.h"

#include <utility>

void clipToStrip(EdgeSegment& edge, StripAxis axis, float lo, float hi) {
    // Work in (t, s): t along the strip's axis, s the other coordinate.
    const bool alongX = axis == StripAxis::X;
    float ta = alongX ? edge.ax : edge.az;
    float sa = alongX ? edge.az : edge.ax;
    float tb = alongX ? edge.bx : edge.bz;
    float sb = alongX ? edge.bz : edge.bx;

    // Cut from the low end upwards; the direction is restored when written.
    const bool reversed = tb < ta;
    if (reversed) {
        std::swap(ta, tb);
        std::swap(sa, sb);
    }
    if (hi < ta || lo > tb) {
        edge.dropped = true;
        return;
    }
    // t0 == t1 can only get here inside the closed strip, so neither cut
    // divides by zero.
    if (ta < lo) {
        const float u = (lo - ta) / (tb - ta);
        ta = lo;
        sa = sa + u * (sb - sa);
    }
    if (tb > hi) {
        const float u = (hi - ta) / (tb - ta);
        tb = hi;
        sb = sa + u * (sb - sa);
    }
    if (tb - ta == 0.0f && sb - sa == 0.0f) {
        edge.dropped = true;
        return;
    }
    if (reversed) {
        std::swap(ta, tb);
        std::swap(sa, sb);
    }
    if (alongX) {
        edge.ax = ta;
        edge.az = sa;
        edge.bx = tb;
        edge.bz = sb;
    } else {
        edge.az = ta;
        edge.ax = sa;
        edge.bz = tb;
        edge.bx = sb;
    }
}

bool edgeSide(float px, float pz, float ax, float az, float bx, float bz, float& value) {
    value = (bx - ax) * (pz - az) - (bz - az) * (px - ax);
    return value > 0.0f;
}
