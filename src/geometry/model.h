#pragma once
// The geometry of one object file: points, polygons, faces with their texture
// mappings, the BSP tree, and the state other subsystems keep per model (the
// collision grid, the renderer's per-draw transform and point flags).
//
// Every array is 1-based: element 0 exists and is never used. A model whose
// load failed is reset to the empty model (all counts 0, no grid) so that the
// renderer draws nothing and the collision queries refuse every move.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/bsp_bounds.h"
#include "geometry/bsp_node.h"
#include "geometry/face.h"
#include "geometry/matrix3.h"
#include "geometry/polygon.h"
#include "geometry/vec3.h"

class TextureList;
struct CollisionGrid;

// Why a load failed: the file, the 1-based line (0 when no line applies,
// e.g. a missing section) and a one-line reason.
struct ModelLoadError {
    std::string file;
    int line = 0;
    std::string reason;

    // "file:line: reason" (or "file: reason" without a line).
    std::string describe() const;
};

enum class ModelLoadMode {
    Game,   // failures are written to stderr; a singular mapping is fatal
    Check,  // silent; a singular mapping fails the load at its block
};

struct Model {
    // Loads fileName (a game path such as "Objects\krv1.krv"); cellSize -1
    // means no collision grid (mazes use 100, objects 50).
    Model(std::string_view fileName, TextureList& textureList, std::int32_t cellSize,
          const Vec3& home, ModelLoadMode mode = ModelLoadMode::Game);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Reads the file and derives texture coordinates and the collision grid.
    // On failure the model is left empty and loadError says where and why.
    bool load(std::string_view fileName, std::int32_t cellSize);

    // Binds every face to its bitmap; after TextureList::loadBitmaps.
    void resolveFaceBitmaps();

    Vec3 homePosition;  // for a maze, where the player's eye is put
    std::int32_t pointCount = 0;
    std::int32_t polygonCount = 0;
    std::int32_t faceCount = 0;
    std::int32_t nodeCount = 0;
    std::vector<Vec3> points;           // model space, as read
    std::vector<Vec3> viewPoints;       // camera space, written by the renderer
    std::vector<Vec3> projectedPoints;  // screen x, y and 1/z, written by the renderer
    std::vector<Vec3> pointNormals;     // as read; (0, 0, 0) where none given
    std::vector<Polygon> polygons;
    std::vector<Face> faces;
    std::vector<BspNode> nodes;                    // root at 1
    BspBounds bspBounds;  // built from points at load, for passing over subtrees out of view
    TextureList& textures;                         // shared, not owned
    std::unique_ptr<CollisionGrid> collisionGrid;  // none without cell size or after a failed load
    bool loaded = false;
    ModelLoadError loadError;
    ModelLoadMode loadMode = ModelLoadMode::Game;

    // Set by each accepted move of the collision response, read and cleared
    // by the renderer.
    std::int32_t bumpFlag = 0;

    // Renderer state for the current draw.
    Vec3 cameraInModel;                          // the eye in model coordinates
    Matrix3 modelToCamera;                       // placing orientation times the view
    Vec3 modelToCameraOffset;                    // (T - E)·R
    // [pointCount + 1]: 1 once viewPoints[i] / projectedPoints[i] is valid.
    std::vector<std::int32_t> transformedFlags;
    std::vector<std::int32_t> projectedFlags;

private:
    void resetToEmpty();
};
