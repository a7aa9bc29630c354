#pragma once
// Object sources: a seek-and-find object described as a stack of closed
// solids (boxes, prisms, cones and frusta, double pyramids, low spheres), each
// in a colour of the palette's cube, shaded per face by a fixed light, or in
// a texture. docs/maze-format.md describes the format with the mazes'.

#include <string>

#include "maze/mesh.h"

// Objects stand on their origin's floor inside a 100-unit cube around it.
constexpr double kObjectHalfWidth = 50.0;
constexpr double kObjectHeight = 100.0;

// Parses and builds; on failure `error` reads "FILE:LINE:COLUMN: message".
bool build_object_mesh(const std::string& text, const std::string& fileName, Mesh& mesh, std::string& name,
                       std::string& error);

// Source -> checked model file. Prints a summary when verbose.
bool compile_object_file(const std::string& sourcePath, const std::string& modelPath, bool verbose, std::string& error);
