#pragma once
// What `krvtool object` says when a shape compiles to a model the game would
// refuse: which shape lines are at fault, by how much, and what to change.
// Polygons carry the source line that made them (MeshPolygon::part), split
// pieces included, so a fault found in the model leads back to the lines.

#include <string>
#include <vector>

#include "geometry/collision_grid.h"
#include "logic/logic_file.h"
#include "maze/model_data.h"

// The game builds every object's collision grid with cells of 50 units, each
// holding at most 50 floor and ceiling polygons, and stops on a 51st.
constexpr int kObjectGridCell = kObjectCellSize;
constexpr int kObjectGridCapacity = GridCell::kCapacity;

// "FILE:LINE: ..." naming the shape line that adds the most floor and
// ceiling polygons to the fullest cell, with what to change; empty when
// every cell is within the game's limit.
std::string object_grid_fault(const std::string& sourcePath, const std::string& sourceText,
                              const ModelData& model);

// "FILE:LINE: ..." for a model check that failed after the parts were cut
// into each other: the lines of the parts involved, the rule, and the
// compiler's own finding (`finding`) at the end.
std::string object_compile_fault(const std::string& sourcePath, const std::string& sourceText,
                                 const std::vector<int>& parts, const std::string& finding);
