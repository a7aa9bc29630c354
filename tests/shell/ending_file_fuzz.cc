// libFuzzer target for the ending file reader (cmake/fuzz/fuzzers.cmake).
// Besides not crashing: every line is kept, none empty, none longer than the
// line reader's limit.

#include <cstdint>

#include "framework/files.h"
#include "support/fuzz_input_file.h"
#include "shell/ending_file.h"

namespace {
const FuzzInputFile input(".end");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFile file;
    input.open(data, size, file);
    const EndingFileContent content = parseEndingFile(file);

    fuzz_require(content.opened);
    fuzz_require(content.lines.size() <= static_cast<std::size_t>(file.lineNumber()));
    for (const std::string& line : content.lines) {
        fuzz_require(!line.empty() && line.size() <= TextFile::kMaxLine);
    }
    // No line is lost: the lines hold every byte but the line feeds and the
    // carriage returns before them (one of those may stay, where a line
    // reached the length limit right before it).
    std::size_t kept = 0;
    for (const std::string& line : content.lines) kept += line.size();
    std::size_t feeds = 0;
    std::size_t returns = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') ++feeds;
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++returns;
    }
    fuzz_require(kept <= size - feeds && kept + returns >= size - feeds);
    return 0;
}
