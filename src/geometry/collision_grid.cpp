#include "geometry/collision_grid.h"

#include <algorithm>

#include "geometry/edge_geometry.h"
#include "geometry/face.h"
#include "geometry/model.h"
#include "geometry/polygon.h"

namespace {

// A bound becomes a whole multiple of the cell size that is never inside the
// extent: truncation and integer division both round toward zero, so the
// low bound steps one cell further down for negative values and the high
// bound one cell further up for non-negative ones.
std::int32_t lowBound(float extent, std::int32_t cellSize) {
    std::int32_t q = static_cast<std::int32_t>(extent) / cellSize;
    if (extent < 0.0f) --q;
    return q * cellSize;
}

std::int32_t highBound(float extent, std::int32_t cellSize) {
    std::int32_t q = static_cast<std::int32_t>(extent) / cellSize;
    if (extent >= 0.0f) ++q;
    return q * cellSize;
}

// Only polygons whose every index is in range and that enclose some area can
// be entered: a polygon of one or two points would pass the corner test of a
// cell its line merely points at and be taken as covering all of it.
bool enterable(const Polygon& polygon, std::int32_t pointCount, std::int32_t faceCount) {
    if (polygon.face < 1 || polygon.face > faceCount) return false;
    if (polygon.pointCount < 3) return false;
    for (std::int32_t k = 1; k <= polygon.pointCount; ++k) {
        const std::int32_t index = polygon.pointIndices[k];
        if (index < 1 || index > pointCount) return false;
    }
    return true;
}

struct Extent {
    float xLow = 0.0f;
    float xHigh = 0.0f;
    float zLow = 0.0f;
    float zHigh = 0.0f;
};

// The x-z extent of a model's points; the model has at least one.
Extent extentOf(const Model& model) {
    const Vec3& first = model.points[1];
    Extent e{first.x, first.x, first.z, first.z};
    for (std::int32_t i = 2; i <= model.pointCount; ++i) {
        const Vec3& p = model.points[i];
        e.xLow = std::min(e.xLow, p.x);
        e.xHigh = std::max(e.xHigh, p.x);
        e.zLow = std::min(e.zLow, p.z);
        e.zHigh = std::max(e.zHigh, p.z);
    }
    return e;
}

}  // namespace

void CollisionGrid::createGrid(float xMinPoint, float xMaxPoint, float zMinPoint, float zMaxPoint,
                               std::int32_t newCellSize, std::span<const Vec3> modelPoints,
                               std::span<const Polygon> modelPolygons,
                               std::span<const Face> modelFaces) {
    cellSize = newCellSize;
    minX = lowBound(xMinPoint, cellSize);
    maxX = highBound(xMaxPoint, cellSize);
    minZ = lowBound(zMinPoint, cellSize);
    maxZ = highBound(zMaxPoint, cellSize);
    columns = (maxX - minX) / cellSize;
    rows = (maxZ - minZ) / cellSize;
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), GridCell{});
    points = modelPoints;
    polygons = modelPolygons;
    faces = modelFaces;
}

const GridCell* CollisionGrid::cellAt(float x, float z) const {
    // Written as "inside" tests so that a NaN coordinate is outside too.
    const float fx = static_cast<float>(minX);
    const float fz = static_cast<float>(minZ);
    if (!(x >= fx && x <= static_cast<float>(maxX) && z >= fz && z <= static_cast<float>(maxZ)))
        return nullptr;
    const float size = static_cast<float>(cellSize);
    const auto column = static_cast<std::int32_t>((x - fx) / size);
    const auto row = static_cast<std::int32_t>((z - fz) / size);
    if (column >= columns || row >= rows) return nullptr;
    return &cell(column, row);
}

GridCell* CollisionGrid::cellAt(float x, float z) {
    return const_cast<GridCell*>(static_cast<const CollisionGrid&>(*this).cellAt(x, z));
}

float CollisionGrid::firstPointY(std::int32_t polygonNumber) const {
    return points[polygons[polygonNumber].pointIndices[1]].y;
}

bool CollisionGrid::addEntry(std::int32_t column, std::int32_t row, std::int32_t polygonNumber,
                             Coverage entryCoverage) {
    GridCell& target = cell(column, row);
    if (target.count >= GridCell::kCapacity) {
        overflow = GridOverflow{minX + column * cellSize, minZ + row * cellSize, polygonNumber};
        return false;
    }
    // The new entry goes before existing entries of equal height.
    const float y = firstPointY(polygonNumber);
    std::int32_t at = 0;
    while (at < target.count && firstPointY(target.polygon[at]) < y) ++at;
    for (std::int32_t i = target.count; i > at; --i) {
        target.polygon[i] = target.polygon[i - 1];
        target.coverage[i] = target.coverage[i - 1];
    }
    target.polygon[at] = polygonNumber;
    target.coverage[at] = entryCoverage;
    ++target.count;
    return true;
}

bool CollisionGrid::insertPolygon(const Polygon& polygon, std::int32_t polygonNumber) {
    const std::int32_t n = polygon.pointCount;
    auto pointOf = [&](std::int32_t k) -> const Vec3& { return points[polygon.pointIndices[k]]; };

    float xLow = pointOf(1).x;
    float xHigh = xLow;
    float zLow = pointOf(1).z;
    float zHigh = zLow;
    for (std::int32_t k = 2; k <= n; ++k) {
        const Vec3& p = pointOf(k);
        xLow = std::min(xLow, p.x);
        xHigh = std::max(xHigh, p.x);
        zLow = std::min(zLow, p.z);
        zHigh = std::max(zHigh, p.z);
    }

    const float size = static_cast<float>(cellSize);
    const float gridX = static_cast<float>(minX);
    const float gridZ = static_cast<float>(minZ);
    // A polygon reaching the grid's upper edge exactly (the model's largest
    // x or z is a negative multiple of the cell size) would name a column or
    // row past the grid: it is entered in the last one instead.
    auto cellIndex = [](float offset, float cell, std::int32_t count) {
        return std::clamp(static_cast<std::int32_t>(offset / cell), 0, count - 1);
    };
    const std::int32_t firstColumn = cellIndex(xLow - gridX, size, columns);
    const std::int32_t lastColumn = cellIndex(xHigh - gridX, size, columns);
    const std::int32_t firstRow = cellIndex(zLow - gridZ, size, rows);
    const std::int32_t lastRow = cellIndex(zHigh - gridZ, size, rows);

    // Edge k runs from Pk to the next point, the last closing back to P1.
    std::vector<EdgeSegment> columnEdges(static_cast<std::size_t>(n));
    std::vector<EdgeSegment> cellEdges(static_cast<std::size_t>(n));

    for (std::int32_t c = firstColumn; c <= lastColumn; ++c) {
        const float xLo = gridX + static_cast<float>(c) * size;
        for (std::int32_t k = 1; k <= n; ++k) {
            const Vec3& a = pointOf(k);
            const Vec3& b = pointOf(k % n + 1);
            EdgeSegment& edge = columnEdges[k - 1];
            edge = EdgeSegment{a.x, a.z, b.x, b.z, false};
            clipToStrip(edge, StripAxis::X, xLo, xLo + size);
        }
        for (std::int32_t r = firstRow; r <= lastRow; ++r) {
            const float zLo = gridZ + static_cast<float>(r) * size;
            bool crossed = false;
            for (std::int32_t k = 0; k < n; ++k) {
                cellEdges[k] = columnEdges[k];
                if (cellEdges[k].dropped) continue;
                clipToStrip(cellEdges[k], StripAxis::Z, zLo, zLo + size);
                if (!cellEdges[k].dropped) crossed = true;
            }
            if (crossed) {
                if (!addEntry(c, r, polygonNumber, Coverage::CoverPartial)) return false;
                continue;
            }
            // No part of the outline lies in the cell, so it is wholly inside
            // or wholly outside: its low corner decides. A corner on the line
            // of an edge decides nothing: 0 counts as "not positive", which
            // is the inside of a clockwise outline, so a cell touching the
            // polygon only at a vertex would be taken as covered and the eye
            // held up by a floor that is not there. Such a cell is outside and
            // is left to the exact test.
            const float kx = xLo;
            const float kz = zLo;
            float value = 0.0f;
            const bool first =
                edgeSide(kx, kz, pointOf(1).x, pointOf(1).z, pointOf(2).x, pointOf(2).z, value);
            bool inside = value != 0.0f;
            for (std::int32_t k = 2; k <= n && inside; ++k) {
                const Vec3& a = pointOf(k);
                const Vec3& b = pointOf(k % n + 1);
                inside = edgeSide(kx, kz, a.x, a.z, b.x, b.z, value) == first && value != 0.0f;
            }
            if (!addEntry(c, r, polygonNumber,
                          inside ? Coverage::CoverFull : Coverage::CoverPartial))
                return false;
        }
    }
    return true;
}

std::optional<GridOverflow> buildCollisionGrid(Model& model, std::int32_t cellSize) {
    if (cellSize == -1) return std::nullopt;
    model.collisionGrid.reset();
    if (cellSize < 1 || model.pointCount < 1) return std::nullopt;

    const Extent e = extentOf(model);
    auto grid = std::make_unique<CollisionGrid>();
    grid->createGrid(e.xLow, e.xHigh, e.zLow, e.zHigh, cellSize, model.points, model.polygons,
                     model.faces);
    for (std::int32_t j = 1; j <= model.polygonCount; ++j) {
        const Polygon& polygon = model.polygons[j];
        if (!enterable(polygon, model.pointCount, model.faceCount)) continue;
        if (model.faces[polygon.face].slopeClass == SlopeClass::Wall) continue;
        if (!grid->insertPolygon(polygon, j)) return grid->overflow;
    }
    model.collisionGrid = std::move(grid);
    return std::nullopt;
}

long long collisionGridCells(const Model& model, std::int32_t cellSize) {
    if (cellSize < 1 || model.pointCount < 1) return 0;
    const Extent e = extentOf(model);
    const long long columns =
        (static_cast<long long>(highBound(e.xHigh, cellSize)) - lowBound(e.xLow, cellSize)) /
        cellSize;
    const long long rows =
        (static_cast<long long>(highBound(e.zHigh, cellSize)) - lowBound(e.zLow, cellSize)) /
        cellSize;
    return columns * rows;
}
