#include "framework/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
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
    skipByteOrderMark();
    return file_ != nullptr;
}

// Editors that save UTF-8 may put EF BB BF before the first line. It is no
// text: left in, it would make the first line differ from "Q" or a record
// header, and take up 3 of its 999 places.
void TextFile::skipByteOrderMark() {
    if (!file_) return;
    unsigned char mark[3] = {};
    const std::size_t read = std::fread(mark, 1, sizeof mark, file_);
    if (read == sizeof mark && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return;
    std::rewind(file_);
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
    skipByteOrderMark();
    atEnd_ = false;
    lastLineEnded_ = false;
    lineNumber_ = 0;
}

bool isAbsoluteFileName(std::string_view name) {
    return !name.empty() && (name[0] == '\\' || name[0] == '/' || (name.size() >= 2 && name[1] == ':'));
}

bool isContainedFileName(std::string_view name) {
    if (name.empty() || isAbsoluteFileName(name)) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

bool fw_read_whole_file(const std::string& nativePath, std::string& bytes) {
    bytes.clear();
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
