#pragma once
// Turns a Mesh into a finished model: BSP tree, T-junction repair, faces that
// group coplanar polygons of one surface, world-aligned texture mappings,
// the texture declarations, and a final check of every invariant.

#include <string>
#include <vector>

#include "maze/mesh.h"
#include "maze/model_data.h"

struct CompileReport {
    int points = 0;
    int polygons = 0;
    int faces = 0;
    int nodes = 0;
    int splits = 0;
    int tJunctionsFixed = 0;
    int mostVertices = 0;  // of any one polygon
    int piecesCut = 0;     // off polygons too long for the clipper or a line
    int facesAdded = 0;    // to continue faces whose polygon list fills a line
    std::vector<int> faultParts;  // on failure: the source lines of the polygons at fault
};

// False with a message when the result breaks an invariant (a bug of the
// compiler, not of the source).
bool compile_model(Mesh mesh, ModelData& model, CompileReport& report, std::string& error);

// The texture mapping of a face: u runs along the face to the right of a
// viewer standing upright in front of it, v down; floors and ceilings map x
// to u and z to v. One repetition every `scale` world units, aligned to the
// world origin, so neighbouring faces of one plane continue each other.
void world_aligned_mapping(const Point3& normal, const Point3& onFace, double scale, ModelFace& face);
