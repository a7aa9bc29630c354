#pragma once
// The real game started on the headless backend far enough to draw game
// frames: mazes loaded with the real reader, textures bound, palette set.
// Used by `krvtool shot` and `krvtool bench`.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "geometry/vec3.h"

class RenderSession {
public:
    // Loads the game's data from dataDir (empty: the working folder). A
    // missing picture or texture ends the program as it would the game. A
    // folder without a logic file (a new maze before any quiz) shows its
    // mazes with no objects.
    explicit RenderSession(const std::string& dataDir);
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    int mazeCount() const;
    bool hasMaze(int maze) const;
    Vec3 mazeHome(int maze) const;

    // The view on maze `maze` at eye, from the start orientation turned by
    // `turn` degrees and then tilted by `look`, as the player's keys do.
    void placeView(int maze, const Vec3& eye, int turn, int look);

    // One frame of the game's draw callback, presented to the backend.
    void drawFrame();

    // Off: frames are still drawn and handed to the backend, which keeps
    // nothing of them (page() goes on showing the last kept frame), so that
    // timing counts the drawing alone.
    void setKeepFrames(bool keep) { backend_->keepFrames = keep; }

    const std::uint8_t* page() const { return backend_->lastFrame().data(); }
    const PaletteEntry* palette() const { return backend_->lastPalette().data(); }

private:
    class Backend : public HeadlessBackend {
    public:
        bool keepFrames = true;
        void present(const std::uint8_t* pixels, const PaletteEntry* palette) override {
            if (keepFrames) HeadlessBackend::present(pixels, palette);
        }
    };
    std::unique_ptr<Backend> backend_;
    std::string standIn_;  // a folder standing in for dataDir, removed at the end; or empty
};

// A view as placeView takes it.
struct ViewPose {
    int maze = 0;
    Vec3 eye;
    int turn = 0;
};

// The same views every run: in every maze, the floor polygons (flat floors,
// in index order) are sampled evenly to give viewsPerMaze views, the eye 40
// units above the polygon's centre (where walking puts it), turned by
// (k * 45 + k / 8 * 15) degrees for the k-th view, level.
std::vector<ViewPose> floorPoses(const RenderSession& session, int viewsPerMaze);
