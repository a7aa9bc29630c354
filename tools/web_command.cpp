// krvtool web QUIZ_FOLDER -o SITE [--engine DIR]: a quiz folder becomes a
// static web site a teacher can put on any web server or learning platform,
// with no compiler: the prebuilt page and engine (made by `make web`) beside
// the quiz's data folders and files.json, the list of files the page fetches
// before the game starts (the plan: web/site.h).
//
// The engine is taken from --engine, else from the folder web-engine beside
// the krvtool program (where `make web` leaves it: build/web-engine).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "web/site.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "web QUIZ_FOLDER -o SITE [--engine DIR]";

int fail(const std::string& message) { return commandFailure(kUsage, message); }

bool copyFiles(const std::vector<site::SiteFile>& files, const fs::path& to, std::string& error) {
    std::error_code code;
    for (const site::SiteFile& file : files) {
        const fs::path target = to / file.path;
        fs::create_directories(target.parent_path(), code);
        if (!code) fs::copy_file(file.source, target, fs::copy_options::overwrite_existing, code);
        if (code) {
            error = "cannot copy " + file.source.string() + ": " + code.message();
            return false;
        }
    }
    return true;
}

int writeSite(const site::Site& plan, const site::SiteArguments& arguments) {
    const fs::path& quiz = arguments.quiz;
    const fs::path& folder = arguments.output;
    std::string error;
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) return fail("cannot create " + folder.string() + ": " + code.message());
    if (fs::equivalent(folder, quiz, code)) return fail("the site must be a folder of its own");

    // The files of an earlier quiz go.
    for (const char* data : site::kDataFolders) fs::remove_all(folder / data, code);
    if (!copyFiles(plan.engine, folder, error) || !copyFiles(plan.quiz, folder, error)) return fail(error);
    std::ofstream list(folder / site::kFileListName, std::ios::binary);
    list << plan.fileList;
    if (!list.flush()) return fail("cannot write " + (folder / site::kFileListName).string());
    std::printf("krvtool web: %s: %zu quiz files and the engine; serve the folder with any web "
                "server and open index.html\n",
                folder.string().c_str(), plan.quiz.size());
    return 0;
}

int webCommand(std::span<char*> args) { return site::runSiteCommand(args, kUsage, writeSite); }

const CommandRegistration command("web", kUsage, webCommand);

}  // namespace
