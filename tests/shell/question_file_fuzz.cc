// libFuzzer target for the question file reader (cmake/fuzz/fuzzers.cmake).
// Besides not crashing, the reader must keep the store's limits, since the
// store copies its records into fixed arrays, and must say why it stopped.

#include <cstdint>

#include "framework/files.h"
#include "support/fuzz_input_file.h"
#include "shell/question_file.h"

namespace {
const FuzzInputFile input(".qry");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextFile file;
    input.open(data, size, file);
    const QuestionFileContent content = parseQuestionFile(file, kQuestionFilePath);
    const int lastLine = file.lineNumber();

    fuzz_require(content.opened);
    fuzz_require(content.questions.size() <= static_cast<std::size_t>(kMaxQuestions));
    fuzz_require(content.stop == QuestionFileStop::None || !content.problems.empty());
    for (const QuestionRecord& question : content.questions) {
        fuzz_require(question.textLines.size() <= static_cast<std::size_t>(kQuestionLines));
        fuzz_require(question.pictures.size() <= static_cast<std::size_t>(kQuestionPictures));
        fuzz_require(question.line >= 1 && question.line <= lastLine);
        for (const QuestionTextLine& line : question.textLines) {
            fuzz_require(line.text.size() <= TextFile::kMaxLine);
            fuzz_require(line.text.find('\n') == std::string::npos);
        }
        for (const QuestionPictureLine& picture : question.pictures) {
            std::string reason;
            fuzz_require(isSafePictureName(picture.name, reason) || !reason.empty());
        }
    }
    for (const ContentProblem& problem : content.problems) {
        fuzz_require(problem.line >= 0 && problem.line <= lastLine);
    }
    return 0;
}
