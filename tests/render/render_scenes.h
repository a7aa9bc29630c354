#pragma once
// Hand-made models for the renderer tests, written in the object file format
// and loaded with the real reader, plus a brute-force reference renderer
// that trusts neither the BSP order nor the span buffer.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "logic/world.h"
#include "render/render.h"
#include "shell/world_scene.h"

// A model under construction: rectangles only, one face per rectangle.
struct SceneModel {
    struct Quad {
        std::array<int, 4> points{};  // 1-based
        Vec3 normal;
        int kind = 3;     // 0-2 colour, 3-5 textured
        int colour = 0;   // colour faces; textured faces get a texture named t<colour>
    };
    struct Node {
        int polygon = -1;
        int frontlist = -1;
        int backlist = -1;
        int fronttree = -1;
        int backtree = -1;
    };
    std::vector<Vec3> points;  // 0-based here, 1-based in the file
    std::vector<Quad> quads;
    std::vector<Node> nodes;

    // Adds the rectangle a b c d (corners in order) and returns its polygon
    // number. Textured rectangles repeat their texture every 64 units.
    int addQuad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, const Vec3& normal,
                int kind, int colour);
    // Adds a node and returns its number.
    int addNode(const Node& node);
    std::string text() const;
};

// A room 400 wide, 200 high and 400 deep around the origin (floor at y 0),
// cut in two by a free-standing panel in the plane z = 0: the walls are
// split there so that the panel's plane cuts nothing. Floors and ceilings
// are colour faces, walls and panel textured. Face colour numbers 1..12.
SceneModel roomWithPanel();
// A cube of side 40 centred on the origin, outward normals, faces 20..25;
// the +z face is textured.
SceneModel cube();

// Uniform 256 x 256 textures, one per colour number, so that a pixel's
// value names the face it shows.
class SceneTextures {
public:
    const GfxBitmap* uniform(int value);
    // 8 x 8 texel checks of values 1 and 2, for mapping tests.
    const GfxBitmap* checker();

private:
    struct Owned {
        std::vector<std::uint8_t> pixels;
        GfxBitmap bitmap;
    };
    std::vector<std::unique_ptr<Owned>> owned_;
    const GfxBitmap* make(std::vector<std::uint8_t> pixels);
};

// A temporary data folder with Objects/, the data root while it lives.
class SceneFolder {
public:
    SceneFolder();
    ~SceneFolder();
    SceneFolder(const SceneFolder&) = delete;
    SceneFolder& operator=(const SceneFolder&) = delete;

    // Writes and loads a model (no collision grid), binding each textured
    // face to the uniform texture of its colour number.
    std::unique_ptr<Model> load(const std::string& name, const SceneModel& model,
                                SceneTextures& textures);

private:
    std::filesystem::path root_;
    std::string previousRoot_;
    TextureList list_;
};

// A world for render tests: models loaded elsewhere, placed in its slots as
// the logic file would place them.
struct SceneWorld {
    TextureList list;  // unused by placed models; the world wants one
    World world{list};

    void setMaze(Model* maze, std::int32_t index = 0) {
        world.mazeSlots[index].model = maze;
        world.mazeSlots[index].orientation = Matrix3::identity();
        world.mazeCount = std::max(world.mazeCount, index + 1);
        world.currentMaze = index;
    }
    Slot& addObject(Model* model, const Vec3& position, bool active = true,
                    std::int32_t maze = 0, const Matrix3& orientation = Matrix3::identity()) {
        Slot& slot = world.objectSlots[world.objectCount++];
        slot.model = model;
        slot.position = position;
        slot.active = active ? 1 : 0;
        slot.mazeIndex = maze;
        slot.orientation = orientation;
        return slot;
    }
};

// The start orientation of the player's view turned by `turn` degrees about
// y and tilted by `look` about x.
Camera cameraAt(const Vec3& eye, int turn, int look);

// A 640 x 480 page and its depth, drawn by the reference renderer: every
// front-facing polygon, clipped at the near plane only, every pixel of the
// view rectangle sampled at its centre with exact 1/z and texture
// coordinates, nearest strictly wins.
struct ReferenceImage {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kScreenPixels, 0);
    std::vector<double> depth = std::vector<double>(kScreenPixels, 0.0);

    void draw(const Model& model, const Camera& camera, const Matrix3& orientation,
              const Vec3& position);
};

// Pixels of the view rectangle (10..629 x 10..399) where the two images
// differ, and how many of those are not within one pixel of a place where
// the reference changes value (an edge).
struct ImageDifference {
    int differing = 0;
    int awayFromEdges = 0;
};
ImageDifference compareWithReference(const std::uint8_t* fast, const ReferenceImage& reference);
