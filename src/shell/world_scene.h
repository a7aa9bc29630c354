#pragma once
// The world as the renderer sees it: the frame hands over the current maze
// and the objects shown in it as plain placements, and hears the bump the
// collision response flagged while the player walked.

class SoundSet;
class World;
struct Camera;
struct Renderer;

// Draws the current maze, then its shown objects (World::isShown), in slot
// order; then plays the bump sound through `sounds`, when given, if the maze
// was bumped into, and clears the maze's bump flag. The frame must have
// called Renderer::beginFrame first.
void renderWorld(Renderer& r, World& world, const Camera& camera, SoundSet* sounds = nullptr);
