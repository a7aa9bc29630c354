// krvtool web QUIZ_FOLDER -o SITE [--engine DIR]: a quiz folder becomes a
// static web site a teacher can put on any web server or learning platform,
// with no compiler: the prebuilt engine (index.html, keravon.js,
// keravon.wasm, made by `make web`) beside the quiz's data folders and
// files.json, the list of files the page fetches before the game starts.
//
// The engine is taken from --engine, else from the folder web-engine beside
// the krvtool program (where `make web` leaves it: build/web-engine).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "web QUIZ_FOLDER -o SITE [--engine DIR]";
constexpr const char* kEngineFiles[] = {"index.html", "keravon.js", "keravon.wasm"};
// What the game reads; anything else in a quiz folder (the desktop program,
// a teacher's notes) stays out of the site.
constexpr const char* kDataFolders[] = {"Objects", "Data", "Pics", "Fonts", "Wavs"};

struct SiteFile {
    std::string path;  // relative to the site, '/' separated
    std::uintmax_t size = 0;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "krvtool web: %s\n", message.c_str());
    return 1;
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "krvtool web: %s\nusage: krvtool %s\n", message.c_str(), kUsage);
    return 2;
}

fs::path defaultEngineFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("web-engine") : self.parent_path() / "web-engine";
}

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

// Copies one data folder's regular files (links are left out: nothing from
// outside the quiz folder goes on the site) and lists them.
bool copyDataFolder(const fs::path& quiz, const fs::path& site, const std::string& folder,
                    std::vector<SiteFile>& files, std::string& error) {
    std::error_code code;
    const fs::path from = quiz / folder;
    fs::remove_all(site / folder, code);  // the files of an earlier quiz go
    if (!fs::is_directory(from, code)) return true;
    for (fs::recursive_directory_iterator it(from, code), end; !code && it != end;
         it.increment(code)) {
        if (it->is_symlink(code) || !it->is_regular_file(code)) continue;
        const fs::path relative = fs::path(folder) / it->path().lexically_relative(from);
        fs::create_directories((site / relative).parent_path(), code);
        if (!code) fs::copy_file(it->path(), site / relative, fs::copy_options::overwrite_existing, code);
        if (code) break;
        files.push_back({relative.generic_string(), it->file_size(code)});
    }
    if (code) error = "cannot copy " + from.string() + ": " + code.message();
    return !code;
}

bool writeFileList(const fs::path& site, std::vector<SiteFile> files) {
    std::sort(files.begin(), files.end(),
              [](const SiteFile& a, const SiteFile& b) { return a.path < b.path; });
    std::ofstream out(site / "files.json", std::ios::binary);
    out << "{\"files\": [\n";
    for (std::size_t i = 0; i < files.size(); ++i) {
        out << "  {\"path\": " << jsonString(files[i].path) << ", \"size\": " << files[i].size
            << "}" << (i + 1 < files.size() ? ",\n" : "\n");
    }
    out << "]}\n";
    return static_cast<bool>(out.flush());
}

int writeSite(const fs::path& quiz, const fs::path& engine, const fs::path& site) {
    std::error_code code;
    if (!fs::is_directory(quiz, code)) return fail("no quiz folder " + quiz.string());
    const bool hasData = std::any_of(std::begin(kDataFolders), std::end(kDataFolders),
                                     [&](const char* folder) { return fs::is_directory(quiz / folder, code); });
    if (!hasData) return fail(quiz.string() + " holds none of Objects/ Data/ Pics/ Fonts/ Wavs/");
    for (const char* name : kEngineFiles) {
        if (!fs::is_regular_file(engine / name, code)) {
            return fail("no engine file " + (engine / name).string() +
                        " (make web builds it; --engine DIR names another)");
        }
    }
    fs::create_directories(site, code);
    if (code) return fail("cannot create " + site.string() + ": " + code.message());
    if (fs::equivalent(site, quiz, code)) return fail("the site must be a folder of its own");

    for (const char* name : kEngineFiles) {
        fs::copy_file(engine / name, site / name, fs::copy_options::overwrite_existing, code);
        if (code) return fail("cannot copy " + (engine / name).string() + ": " + code.message());
    }
    std::vector<SiteFile> files;
    std::string error;
    for (const char* folder : kDataFolders) {
        if (!copyDataFolder(quiz, site, folder, files, error)) return fail(error);
    }
    if (!writeFileList(site, files)) return fail("cannot write " + (site / "files.json").string());
    std::printf("krvtool web: %s: %zu quiz files and the engine; serve the folder with any web "
                "server and open index.html\n",
                site.string().c_str(), files.size());
    return 0;
}

int webCommand(std::span<char*> args) {
    fs::path quiz;
    fs::path site;
    fs::path engine = defaultEngineFolder();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view word = args[i];
        if (word == "-o" || word == "--engine") {
            if (i + 1 >= args.size()) return usageError(std::string(word) + " needs a folder");
            (word == "-o" ? site : engine) = args[++i];
        } else if (!word.empty() && word[0] == '-') {
            return usageError("unknown option '" + std::string(word) + "'");
        } else if (quiz.empty()) {
            quiz = word;
        } else {
            return usageError("one quiz folder only");
        }
    }
    if (quiz.empty() || site.empty()) return usageError("a quiz folder and -o SITE are needed");
    return writeSite(quiz, engine, site);
}

const CommandRegistration command("web", kUsage, webCommand);

}  // namespace
