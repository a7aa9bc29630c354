#include "shell/content_check.h"

#include "framework/framework.h"
#include "framework/gfx_errors.h"
#include "framework/owned_bitmap.h"
#include "shell/content_file.h"
#include "shell/intro_file.h"
#include "shell/question_file.h"

namespace {

// What the game's loader would end the program over, without loading.
void checkPicture(std::string_view file, int line, std::string_view name,
                  std::vector<ContentProblem>& problems) {
    std::string reason;
    if (!isSafePictureName(name, reason)) {
        problems.push_back({std::string(file), line, reason});
        return;
    }
    // Loaded whole, as the game will: a compressed picture can be broken
    // past its headers.
    const std::string path = std::string(kPictureFolder) + std::string(name);
    const OwnedBitmap picture(gfx_bitmap_info(path) ? gfx_load_bitmap(path, 0) : nullptr);
    if (!picture) problems.push_back({std::string(file), line, path + ": " + gfx_bitmap_problem()});
}

void checkQuestions(std::vector<ContentProblem>& problems) {
    const QuestionFileContent content = readQuestionFile();
    problems.insert(problems.end(), content.problems.begin(), content.problems.end());
    for (const QuestionRecord& question : content.questions) {
        for (const QuestionPictureLine& picture : question.pictures) {
            checkPicture(kQuestionFilePath, picture.line, picture.name, problems);
        }
    }
}

void checkIntro(std::vector<ContentProblem>& problems) {
    const IntroFileContent content = readIntroFile();
    problems.insert(problems.end(), content.problems.begin(), content.problems.end());
    const std::vector<std::size_t> owners = pictureOwners(content.entries);
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        const IntroRecord& entry = content.entries[i];
        if (entry.hasPicture() && owners[i] == i) {
            checkPicture(kIntroFilePath, entry.line, entry.name, problems);
        }
    }
}

}  // namespace

std::vector<std::string> checkQuizContent() {
    std::vector<ContentProblem> problems;
    checkQuestions(problems);
    checkIntro(problems);
    // The ending has no form to get wrong: every line is shown.
    std::vector<std::string> described;
    described.reserve(problems.size());
    for (const ContentProblem& problem : problems) described.push_back(problem.describe());
    return described;
}
