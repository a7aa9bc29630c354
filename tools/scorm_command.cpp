// krvtool scorm QUIZ_FOLDER -o PACKAGE.zip [--engine DIR]: the site of
// `krvtool web` as a package a learning platform imports (SCORM 1.2). Put
// into a course, the page reports to the platform's gradebook: completed
// once the quiz is won, and the share of questions answered right at the
// first try as the score (src/framework/web/page/scorm.js).

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "arguments.h"
#include "command.h"
#include "web/scorm_package.h"
#include "web/site.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "scorm QUIZ_FOLDER -o PACKAGE.zip [--engine DIR]";

int fail(const std::string& message) { return commandFailure(kUsage, message); }

int writeScormPackage(const site::Site& plan, const site::SiteArguments& arguments) {
    const fs::path& package = arguments.output;
    std::string error;
    std::error_code code;
    if (fs::is_directory(package, code))
        return fail(package.string() + " is a folder; name the .zip file to write");
    const std::string title = site::packageTitle(plan, arguments.quiz);
    if (!site::writePackage(plan, site::manifestOf(plan, title), package, error))
        return fail(error);
    std::printf(
        "krvtool scorm: %s: \"%s\", %zu quiz files and the engine; import it into the "
        "learning platform as a SCORM package\n",
        package.string().c_str(), title.c_str(), plan.quiz.size());
    return 0;
}

int scormCommand(std::span<char*> args) { return site::runSiteCommand(args, kUsage, writeScormPackage); }

const CommandRegistration command("scorm", kUsage, scormCommand);

}  // namespace
