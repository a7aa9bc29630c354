#pragma once
// A quiz's site as a package for learning platforms (SCORM 1.2, the version
// every common platform imports): the site's files in a zip, with
// imsmanifest.xml at its root naming the quiz and one SCO, the page, whose
// resource lists every file of the package.

#include <filesystem>
#include <string>

#include "web/site.h"

namespace site {

inline constexpr const char* kManifestName = "imsmanifest.xml";

// The quiz's title in the platform: the page text's title, else the name of
// the quiz folder.
std::string packageTitle(const Site& site, const fs::path& quiz);

// The manifest's text (UTF-8 XML) for the site under that title.
std::string manifestOf(const Site& site, const std::string& title);

// Writes the zip (replacing a file of that name only once the new one is
// whole); false with the reason in `error`.
bool writePackage(const Site& site, const std::string& manifest, const fs::path& zipPath,
                  std::string& error);

}  // namespace site
