#pragma once
// The per-model collision grid: a uniform square grid over the x-z plane
// (y is up) whose cells list the floor and ceiling polygons whose footprint
// may cover them. Walls are never entered. Built once, as the last step of
// a successful model load; read-only afterwards.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"

struct Model;
struct Polygon;
struct Face;

// CoverFull: the whole cell lies inside the polygon's footprint, a point in
// it needs no further test. CoverPartial: the polygon may cover part of the
// cell, or none of it. The value 1 is never used.
enum class Coverage : std::int32_t {
    CoverFull = 0,
    CoverPartial = 2,
};

// Entries stand in ascending order of the y of each polygon's first point;
// a 51st entry ends the program (the model's loader names the file first).
struct GridCell {
    static constexpr std::int32_t kCapacity = 50;

    std::int32_t count = 0;
    std::array<std::int32_t, kCapacity> polygon{};  // 1-based polygon numbers
    std::array<Coverage, kCapacity> coverage{};
};

// The game's own words when a cell overflows.
constexpr std::string_view kGridCellFullMessage =
    "Couldn't finish creation of collision detection data structure since too many "
    "polygons exist in one grid cell!";

// Where a build stopped: the low corner of the full cell and the polygon
// that found it full.
struct GridOverflow {
    std::int32_t cellX = 0;
    std::int32_t cellZ = 0;
    std::int32_t polygon = 0;
};

struct CollisionGrid {
    std::int32_t cellSize = 0;  // world units per cell edge
    std::int32_t columns = 0;   // cells along x
    std::int32_t rows = 0;      // cells along z
    // Whole multiples of cellSize, never inside the model's extent.
    std::int32_t minX = 0;
    std::int32_t maxX = 0;
    std::int32_t minZ = 0;
    std::int32_t maxZ = 0;
    // Row-major: cell (c, r) is cells[r * columns + c]. One allocation.
    std::vector<GridCell> cells;
    // The owning model's 1-based arrays; the model never changes shape after
    // its load, so these stay valid as long as the model (and so the grid)
    // lives.
    std::span<const Vec3> points;
    std::span<const Polygon> polygons;
    std::span<const Face> faces;
    // Set when a polygon found a cell full; the build stops there.
    std::optional<GridOverflow> overflow;

    // Works out the bounds from the model's extent and allocates empty cells.
    void createGrid(float xMinPoint, float xMaxPoint, float zMinPoint, float zMaxPoint,
                    std::int32_t newCellSize, std::span<const Vec3> modelPoints,
                    std::span<const Polygon> modelPolygons, std::span<const Face> modelFaces);

    // Enters one polygon into every cell of its bounding cell range, each
    // with the coverage found by strip clipping and the corner test. False,
    // with the polygon entered in none of the later cells, when a cell is
    // already full.
    bool insertPolygon(const Polygon& polygon, std::int32_t polygonNumber);

    // The cell holding (x, z), or none outside the grid. x == maxX or
    // z == maxZ exactly counts as outside.
    const GridCell* cellAt(float x, float z) const;
    GridCell* cellAt(float x, float z);

    GridCell& cell(std::int32_t column, std::int32_t row) { return cells[row * columns + column]; }
    const GridCell& cell(std::int32_t column, std::int32_t row) const {
        return cells[row * columns + column];
    }

    // y of a polygon's first point: the order key of the cell entries.
    float firstPointY(std::int32_t polygonNumber) const;

private:
    bool addEntry(std::int32_t column, std::int32_t row, std::int32_t polygonNumber,
                  Coverage coverage);
};

// Builds the model's grid with this cell size and stores it in the model;
// nothing for -1. A model without points, or a cell size below 1, gets no
// grid, so every move on it is refused. A cell that would take a 51st
// polygon stops the build: the model then has no grid and the overflow is
// returned, for the loader to name the file and end the program.
std::optional<GridOverflow> buildCollisionGrid(Model& model, std::int32_t cellSize);

// How many cells the grid of this model would have, worked out in 64 bits
// before anything is allocated; 0 where buildCollisionGrid makes no grid.
// The model's coordinates must fit 32-bit integers.
long long collisionGridCells(const Model& model, std::int32_t cellSize);
