// libFuzzer target for the logic file reader and its judge (built by
// cmake/fuzz.cmake with clang and the sanitizers; the .cc name keeps it out
// of the unit-test program). Whatever the bytes, reading ends, every record
// kept is complete and safe, and every problem names a line of the file.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "logic/logic_file_parser.h"

namespace {
std::string inputPath;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* folder = std::getenv("TMPDIR");
    inputPath = std::string(folder && *folder ? folder : "/tmp") + "/krv_fuzz_" +
                std::to_string(::getpid()) + ".lgk";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);

    TextFile text;
    if (!text.openNative(inputPath)) std::abort();
    const LogicFileContents contents = parseLogicFile(text);
    const int lastLine = text.lineNumber();
    const MazeFacts mazes[] = {{true}, {false}, {true}};
    const std::vector<LogicProblem> judged = judgeLogicFile(contents, mazes, 6);
    for (const auto* list : {&contents.problems, &judged}) {
        for (const LogicProblem& problem : *list) {
            if (problem.line < 1 || problem.line > lastLine) std::abort();
        }
    }
    for (const LogicRecord& record : contents.records) {
        if (record.line < 1 || record.line > lastLine) std::abort();
        if (const auto* object = std::get_if<LogicObject>(&record.value)) {
            if (!isContainedFileName(object->file)) std::abort();
        }
    }
    return 0;
}
