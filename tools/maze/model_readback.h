#pragma once
// The compiler's last word on a file it wrote: the game's own reader loads
// it, collision grid and all, and must find what the compiler meant to
// write. Whatever the reader refuses or reads differently is the compiler's
// failure, reported before anyone starts the game.

#include <cstdint>
#include <string>

#include "maze/model_data.h"

// Loads `path` (a native path) with the game's reader and the collision grid
// cell size the game uses for it (-1 for none), and compares counts, every
// polygon's points and every polygon's face with `written`. False with
// "file:line: reason" from the reader, or with what differs.
bool read_back_model_file(const std::string& path, const ModelData& written, std::int32_t cellSize,
                          std::string& error);

// Writes the model compiled from `sourcePath` and reads it back. A file the
// game refuses is worse than none: it is removed, and the error says
// "SOURCE: the compiled model does not load in the game, ...".
bool write_checked_model_file(const std::string& sourcePath, const std::string& modelPath, const ModelData& model,
                              std::int32_t cellSize, std::string& error);
