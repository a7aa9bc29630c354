#include "framework/files.h"

#include <filesystem>
#include <system_error>

namespace {
std::string dataRoot;

bool holdsDataFolders(const std::filesystem::path& folder) {
    std::error_code error;
    for (const char* name : {"Objects", "Data", "Pics"}) {
        if (!std::filesystem::is_directory(folder / name, error)) return false;
    }
    return true;
}
}  // namespace

std::string fw_native_path(std::string_view gamePath) {
    std::string path;
    if (!dataRoot.empty()) {
        path = dataRoot;
        if (path.back() != '/') path += '/';
    }
    for (const char c : gamePath) path += (c == '\\') ? '/' : c;
    return path;
}

void fw_set_data_root(std::string_view folder) { dataRoot = std::string(folder); }
const std::string& fw_data_root() { return dataRoot; }

void fw_locate_data_root(std::string_view programPath) {
    std::error_code error;
    if (holdsDataFolders(std::filesystem::current_path(error))) {
        dataRoot.clear();
        return;
    }
    std::filesystem::path program(programPath);
    auto canonical = std::filesystem::weakly_canonical(program, error);
    if (error) return;
    const auto folder = canonical.parent_path();
    if (holdsDataFolders(folder)) dataRoot = folder.string();
}

TextFile::~TextFile() { close(); }

bool TextFile::open(std::string_view gamePath) { return openNative(fw_native_path(gamePath)); }

bool TextFile::openNative(const std::string& path) {
    close();
    path_ = path;
    std::error_code error;
    // fopen succeeds on a folder on some systems; a folder is no data file.
    if (std::filesystem::is_directory(path, error)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    atEnd_ = false;
    lastLineEnded_ = false;
    lineNumber_ = 0;
    return file_ != nullptr;
}

void TextFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool TextFile::readLine(std::string& line) {
    line.clear();
    lastLineEnded_ = false;
    if (!file_ || atEnd_) return false;
    bool readAny = false;
    while (line.size() < kMaxLine) {
        int c = std::fgetc(file_);
        if (c == EOF) {
            atEnd_ = true;
            break;
        }
        readAny = true;
        // Text mode: a CR LF pair is one line feed before the length counts,
        // so a CR never takes up a place of the 999.
        if (c == '\r') {
            const int next = std::fgetc(file_);
            if (next == '\n') {
                c = next;
            } else if (next != EOF) {
                std::ungetc(next, file_);
            }
        }
        if (c == '\n') {
            lastLineEnded_ = true;
            break;
        }
        line += static_cast<char>(c);
    }
    if (!readAny) return false;
    ++lineNumber_;
    return true;
}

void TextFile::rewind() {
    if (file_) std::rewind(file_);
    atEnd_ = false;
    lastLineEnded_ = false;
    lineNumber_ = 0;
}
