#pragma once
// A quiz's web site as `krvtool web` writes it to a folder and `krvtool
// scorm` packs it into a zip: the prebuilt page and engine, the quiz's five
// data folders, and files.json, the list of quiz files the page fetches
// before the game starts. Planning reads nothing but names, sizes and the
// quiz's page text; the commands do the writing.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/page_text.h"

namespace site {

namespace fs = std::filesystem;

// What `make web` leaves in build/web-engine: the page, its scripts, the engine.
inline constexpr const char* kEngineFiles[] = {"index.html", "scorm.js", "touch.js", "keravon.js",
                                               "keravon.wasm"};
// What the game reads; anything else in a quiz folder (the desktop program,
// a teacher's notes) stays out of the site.
inline constexpr const char* kDataFolders[] = {"Objects", "Data", "Pics", "Fonts", "Wavs"};
inline constexpr const char* kFileListName = "files.json";

struct SiteFile {
    fs::path source;
    std::string path;  // in the site, '/' separated
    std::uintmax_t size = 0;
};

struct Site {
    std::vector<SiteFile> engine;
    std::vector<SiteFile> quiz;  // sorted by path
    std::string fileList;        // the text of files.json
    PageText words;              // the quiz's Data/page.txt, defaults filled in
    // "file:line: reason" of the page text; the site is made all the same.
    std::vector<std::string> warnings;
};

// The engine folder beside the running krvtool program (where `make web`
// leaves it), for when no --engine is given.
fs::path defaultEngineFolder();

// `text` as a JSON string, quotes included (the site's file list, and what
// the quiz maker page's module hands its script).
std::string jsonString(std::string_view text);

// The words `krvtool web` and `krvtool scorm` share: QUIZ_FOLDER -o OUTPUT
// [--engine DIR]. False with the sentence to print when they are off.
struct SiteArguments {
    fs::path quiz;
    fs::path output;
    fs::path engine = defaultEngineFolder();
};
bool parseSiteArguments(std::span<char*> args, SiteArguments& arguments, std::string& error);

// What `krvtool web` and `krvtool scorm` do first: read the words (a fault
// gets the usage line), plan the site and say its warnings on stderr; then
// `write` makes the output. Returns the exit status.
using SiteWriter = int (*)(const Site& plan, const SiteArguments& arguments);
int runSiteCommand(std::span<char*> args, std::string_view usage, SiteWriter write);

// Plans the site; false with a sentence for the teacher in `error` when the
// quiz folder or an engine file is missing. Links in the quiz folder are
// left out: nothing from outside it goes on the site.
bool planSite(const fs::path& quiz, const fs::path& engine, Site& site, std::string& error);

}  // namespace site
