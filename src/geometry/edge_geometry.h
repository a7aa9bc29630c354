#pragma once
// Two-dimensional edge work in the x-z plane, shared by the grid build and
// the height query: which side of an edge a point lies on, and cutting an
// edge to a closed strip of one axis.

// A polygon edge projected onto x-z, a -> b, with the mark the strip
// clipping sets when nothing of it is left.
struct EdgeSegment {
    float ax = 0.0f;
    float az = 0.0f;
    float bx = 0.0f;
    float bz = 0.0f;
    bool dropped = false;
};

enum class StripAxis { X, Z };

// Cuts the segment to lo <= t <= hi along the axis (t is x or z, the other
// coordinate follows linearly). The strip is closed: a segment lying on a
// strip boundary survives. Marks the segment dropped when it misses the
// strip or only a point of it is left; otherwise writes the cut segment back
// in its own direction.
void clipToStrip(EdgeSegment& edge, StripAxis axis, float lo, float hi);

// value = (bx - ax)(pz - az) - (bz - az)(px - ax), the 2D cross product of the
// directed edge a->b with p - a; true when value > 0. A point on the edge's
// line gives 0, which counts as not positive.
bool edgeSide(float px, float pz, float ax, float az, float bx, float bz, float& value);
