// libFuzzer target for the quiz file reader (cmake/fuzz/fuzzers.cmake): any
// text gives records the builder can trust or problems, never a crash.
// Besides not crashing: the game's limits hold for every question kept, the
// right answer is one of its answers, and every problem names a line of
// the text.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "support/fuzz_input_file.h"
#include "quiz/quiz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const QuizFile quiz = parseQuizFile(text);

    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const QuizProblem& problem : quiz.problems) {
        fuzz_require(problem.line >= 0 && problem.line <= lines && !problem.reason.empty());
    }
    fuzz_require(quiz.mazes.size() <= static_cast<std::size_t>(kMaxQuizMazes) || !quiz.problems.empty());
    if (!quiz.problems.empty()) return 0;
    fuzz_require(quiz.questions.size() <= static_cast<std::size_t>(kMaxQuizQuestions));
    for (const QuizQuestion& question : quiz.questions) {
        const int answers = static_cast<int>(question.answers.size());
        fuzz_require(answers >= 2 && answers <= kMaxQuizAnswers);
        fuzz_require(question.right >= 1 && question.right <= answers);
        fuzz_require(question.line >= 1 && question.line <= lines);
    }
    return 0;
}
