// libFuzzer target for the logic file reader and its judge
// (cmake/fuzz/fuzzers.cmake). Whatever the bytes, reading ends, every
// record kept is complete and names a file inside its folder, and every
// problem names a line of the file.

#include <cstdint>

#include "support/fuzz_input_file.h"
#include "logic/logic_file_parser.h"

namespace {
const FuzzInputFile input(".lgk");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFile file;
    input.open(data, size, file);
    const LogicFileContents contents = parseLogicFile(file);
    const int lastLine = file.lineNumber();
    const MazeFacts mazes[] = {{true}, {false}, {true}};
    const std::vector<LogicProblem> judged = judgeLogicFile(contents, mazes, 6);
    for (const auto* list : {&contents.problems, &judged}) {
        for (const LogicProblem& problem : *list) {
            fuzz_require(problem.line >= 1 && problem.line <= lastLine);
        }
    }
    for (const LogicRecord& record : contents.records) {
        fuzz_require(record.line >= 1 && record.line <= lastLine);
        if (const auto* object = std::get_if<LogicObject>(&record.value)) {
            fuzz_require(isContainedFileName(object->file));
        }
    }
    return 0;
}
