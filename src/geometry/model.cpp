#include "geometry/model.h"

#include <cstdio>

#include "geometry/collision_grid.h"
#include "geometry/texture_list.h"

std::string ModelLoadError::describe() const {
    if (line > 0) return file + ":" + std::to_string(line) + ": " + reason;
    return file + ": " + reason;
}

Model::Model(std::string_view fileName, TextureList& textureList, std::int32_t cellSize,
             const Vec3& home, ModelLoadMode mode)
    : homePosition(home), textures(textureList), loadMode(mode) {
    resetToEmpty();
    loaded = load(fileName, cellSize);
    // The game shows nothing for a model that failed; the line on stderr is
    // the only trace of why a maze or object is missing.
    if (!loaded && loadMode == ModelLoadMode::Game) {
        std::fprintf(stderr, "%s\n", loadError.describe().c_str());
    }
}

Model::~Model() = default;

void Model::resetToEmpty() {
    pointCount = 0;
    polygonCount = 0;
    faceCount = 0;
    nodeCount = 0;
    points.assign(1, Vec3{});
    viewPoints.assign(1, Vec3{});
    projectedPoints.assign(1, Vec3{});
    pointNormals.assign(1, Vec3{});
    polygons.assign(1, Polygon{});
    faces.assign(1, Face{});
    nodes.assign(1, BspNode{});
    collisionGrid.reset();
    transformedFlags.assign(1, 0);
    projectedFlags.assign(1, 0);
}

void Model::resolveFaceBitmaps() {
    for (std::int32_t f = 1; f <= faceCount; ++f) textures.resolveBitmap(faces[f]);
}
