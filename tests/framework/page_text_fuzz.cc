// libFuzzer target for the page text reader (cmake/fuzz/fuzzers.cmake).
// Besides not crashing: every word that has a default is there (the default
// where the file is silent or empty), and every problem names a line the file has.

#include <cstdint>

#include "framework/files.h"
#include "framework/page_text.h"
#include "support/fuzz_input_file.h"

namespace {
const FuzzInputFile input(".txt");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFile file;
    input.open(data, size, file);
    const PageTextContents contents = parsePageText(file);
    for (std::size_t i = 0; i < kPageWordCount; ++i) {
        fuzz_require(kPageWords[i].defaultText.empty() || !contents.text.words[i].empty());
    }
    for (const PageTextProblem& problem : contents.problems) {
        fuzz_require(problem.line >= 1 && problem.line <= file.lineNumber() && !problem.reason.empty());
    }
    return 0;
}
