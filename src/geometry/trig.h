#pragma once
// Sines and cosines of whole degrees: every turn and tilt of the running game
// goes through these tables, so no trigonometric function is called in play.

extern float cosTable[360];
extern float sinTable[360];

// Fills both tables; runs once at start, before any model loads.
void buildTrigTables();

// The sign rule of the tables: for a negative angle a the cosine is
// cosTable[-a] and the sine -sinTable[-a]. Angles lie in -359..359.
struct CosSin {
    float c = 1.0f;
    float s = 0.0f;
};
CosSin cosSinOf(int degrees);

// Reduces any whole-degree angle into -359..359 (the same rotation).
inline int wrapDegrees(int degrees) { return degrees % 360; }
