#pragma once
// The content steps that compile a folder of sources (content/mazes/*.maze,
// content/objects/*.shape) into GAME/Objects: the sources in name order, so
// that builds compare between runs, each compiled in turn; and those that
// copy a folder's files as they are (content/data, content/sounds).

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The files of `folder` whose extension is `extension` (".maze"), in name
// order; false when there is no such folder (then there is nothing to do).
bool listSources(const std::filesystem::path& folder, std::string_view extension,
                 std::vector<std::filesystem::path>& sources);

// Compiles each source until one fails; its error goes to stderr.
using SourceCompiler = std::function<bool(const std::filesystem::path& source, std::string& error)>;
bool compileSources(const std::vector<std::filesystem::path>& sources, const SourceCompiler& compile);

// Copies the regular files of `from` with this extension (any, when empty)
// into `to`, made when missing, where they are newer; says on stderr which
// file failed. A missing `from` has nothing to copy.
bool copyContentFiles(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::string_view extension);
