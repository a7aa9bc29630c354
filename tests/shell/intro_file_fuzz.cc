// libFuzzer target for the intro file reader (cmake/fuzz/fuzzers.cmake).
// Besides not crashing: every entry came from whole lines, and every entry
// draws a picture of an entry at or before it, which the intro releases once.

#include <cstdint>

#include "framework/files.h"
#include "support/fuzz_input_file.h"
#include "shell/intro_file.h"

namespace {
const FuzzInputFile input(".int");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFile file;
    input.open(data, size, file);
    const IntroFileContent content = parseIntroFile(file, kIntroFilePath);
    const int lastLine = file.lineNumber();

    fuzz_require(content.opened);
    fuzz_require(content.problems.size() <= 1);  // only the end of the file cuts an entry
    const std::vector<std::size_t> owners = pictureOwners(content.entries);
    fuzz_require(owners.size() == content.entries.size());
    int previousLine = 0;
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        const IntroRecord& entry = content.entries[i];
        fuzz_require(!entry.name.empty() && entry.name.front() != ';');
        fuzz_require(entry.line > previousLine && entry.line + 3 <= lastLine);
        previousLine = entry.line;
        fuzz_require(owners[i] <= i && content.entries[owners[i]].name == entry.name);
        fuzz_require(owners[owners[i]] == owners[i]);
    }
    return 0;
}
