#pragma once
// The file layer: data files name their paths with '\' as the separator;
// here they are mapped to the native one and looked up relative to the data
// root.

#include <cstdio>
#include <string>
#include <string_view>

// Maps a game path such as "Pics\border1.bmp" to the file to open.
std::string fw_native_path(std::string_view gamePath);

// Whether a file name read from content stays inside the folder it is
// joined to: not empty, not absolute, no drive, no ".." part. Quiz folders
// and quiz files pass between people: what they name must not reach out.
bool isContainedFileName(std::string_view name);
// Whether a name starts at a root or a drive (a leading slash or backslash,
// or "C:").
bool isAbsoluteFileName(std::string_view name);

// The whole of a file at a native path, as it is (no line ends changed);
// false when it cannot be opened or a read fails.
bool fw_read_whole_file(const std::string& nativePath, std::string& bytes);

// The folder holding Objects/ Data/ Pics/ Fonts/ Wavs/. Empty means the
// working folder.
void fw_set_data_root(std::string_view folder);
const std::string& fw_data_root();

// Uses the working folder when it holds the data folders, else the folder of
// the program (given as its own path), else leaves the working folder.
void fw_locate_data_root(std::string_view programPath);

// A data file read line by line the way every reader of the game reads:
// a line ends at a line feed (a CR right before it is dropped), holds at most
// 999 bytes (the rest of a longer line is the next line), and once the end
// of the file has been reached every later read finds nothing until
// rewind(). A UTF-8 byte order mark at the start of the file is skipped.
class TextFile {
public:
    static constexpr std::size_t kMaxLine = 999;

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Opens a game path (mapped by fw_native_path).
    bool open(std::string_view gamePath);
    // Opens a native path as it is.
    bool openNative(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // False when nothing was read because the end had been reached.
    bool readLine(std::string& line);
    // Whether the last line read was ended by a line feed (not by the end).
    bool lastLineEnded() const { return lastLineEnded_; }
    // True once a read reached the end of the file.
    bool atEnd() const { return atEnd_; }
    // 1-based number of the last line read; 0 before the first.
    int lineNumber() const { return lineNumber_; }
    void rewind();

    const std::string& path() const { return path_; }

private:
    void skipByteOrderMark();

    std::FILE* file_ = nullptr;
    std::string path_;
    bool atEnd_ = false;
    bool lastLineEnded_ = false;
    int lineNumber_ = 0;
};
