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
        const int c = std::fgetc(file_);
        if (c == EOF) {
            atEnd_ = true;
            break;
        }
        readAny = true;
        if (c == '\n') {
            lastLineEnded_ = true;
            break;
        }
        line += static_cast<char>(c);
    }
    // Text mode: a carriage return right before the line feed is dropped.
    if (lastLineEnded_ && !line.empty() && line.back() == '\r') line.pop_back();
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
