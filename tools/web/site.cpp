#include "web/site.h"

#include <algorithm>
#include <cstdio>

#include "arguments.h"

namespace site {

namespace {

std::string fileListOf(const std::vector<SiteFile>& files) {
    std::string out = "{\"files\": [\n";
    for (std::size_t i = 0; i < files.size(); ++i) {
        out += "  {\"path\": " + jsonString(files[i].path) +
               ", \"size\": " + std::to_string(files[i].size) + "}" +
               (i + 1 < files.size() ? ",\n" : "\n");
    }
    return out + "]}\n";
}

bool listDataFolder(const fs::path& quiz, const std::string& folder, std::vector<SiteFile>& files,
                    std::string& error) {
    std::error_code code;
    const fs::path from = quiz / folder;
    if (!fs::is_directory(from, code)) return true;
    for (fs::recursive_directory_iterator it(from, code), end; !code && it != end;
         it.increment(code)) {
        if (it->is_symlink(code) || !it->is_regular_file(code)) continue;
        const fs::path relative = fs::path(folder) / it->path().lexically_relative(from);
        const std::uintmax_t size = it->file_size(code);
        if (code) break;
        files.push_back({it->path(), relative.generic_string(), size});
    }
    if (code) error = "cannot read " + from.string() + ": " + code.message();
    return !code;
}

// The page text as the page will read it, with what its author should know.
void readPageText(const fs::path& quiz, Site& site) {
    const fs::path path = quiz / "Data" / "page.txt";
    TextFile file;
    if (!file.openNative(path.string())) return;
    PageTextContents contents = parsePageText(file);
    for (const PageTextProblem& problem : contents.problems)
        site.warnings.push_back(path.string() + ":" + std::to_string(problem.line) + ": " +
                                problem.reason);
    site.words = std::move(contents.text);
    std::error_code code;
    if (!site.words.picture.empty() &&
        !fs::is_regular_file(quiz / "Pics" / site.words.picture, code)) {
        site.warnings.push_back(path.string() + ": picture: there is no Pics/" +
                                site.words.picture +
                                "; the start screen shows the game's title picture");
    }
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

fs::path defaultEngineFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("web-engine") : self.parent_path() / "web-engine";
}

bool parseSiteArguments(std::span<char*> args, SiteArguments& arguments, std::string& error) {
    static constexpr CommandOption kOptions[] = {{"-o"}, {"--engine"}};
    CommandArguments words;
    if (!readArguments(args, {kOptions, "needs a name", "one quiz folder only", false}, words, error)) return false;
    arguments.quiz = words.input.value_or("");
    arguments.output = words.value("-o").value_or("");
    if (const auto engine = words.value("--engine")) arguments.engine = *engine;
    if (arguments.quiz.empty() || arguments.output.empty()) {
        error = "a quiz folder and -o are needed";
        return false;
    }
    return true;
}

int runSiteCommand(std::span<char*> args, std::string_view usage, SiteWriter write) {
    SiteArguments arguments;
    std::string error;
    if (!parseSiteArguments(args, arguments, error)) return usageFault(usage, error);
    Site plan;
    if (!planSite(arguments.quiz, arguments.engine, plan, error)) return commandFailure(usage, error);
    for (const std::string& warning : plan.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
    return write(plan, arguments);
}

bool planSite(const fs::path& quiz, const fs::path& engine, Site& site, std::string& error) {
    std::error_code code;
    if (!fs::is_directory(quiz, code)) {
        error = "no quiz folder " + quiz.string();
        return false;
    }
    const bool hasData =
        std::any_of(std::begin(kDataFolders), std::end(kDataFolders),
                    [&](const char* folder) { return fs::is_directory(quiz / folder, code); });
    if (!hasData) {
        error = quiz.string() + " holds none of Objects/ Data/ Pics/ Fonts/ Wavs/";
        return false;
    }
    site = Site{};
    for (const char* name : kEngineFiles) {
        const fs::path file = engine / name;
        if (!fs::is_regular_file(file, code)) {
            error = "no engine file " + file.string() +
                    " (make web builds it; --engine DIR names another)";
            return false;
        }
        site.engine.push_back({file, name, fs::file_size(file, code)});
    }
    for (const char* folder : kDataFolders) {
        if (!listDataFolder(quiz, folder, site.quiz, error)) return false;
    }
    std::sort(site.quiz.begin(), site.quiz.end(),
              [](const SiteFile& a, const SiteFile& b) { return a.path < b.path; });
    site.fileList = fileListOf(site.quiz);
    readPageText(quiz, site);
    return true;
}

}  // namespace site
