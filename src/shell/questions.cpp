#include "shell/questions.h"

#include "framework/framework.h"
#include "shell/content_picture.h"

void Question::addTextLine(std::int32_t x, std::int32_t y, std::string_view text) {
    if (textCount >= kCapacity) return;
    textLines[textCount] = std::string(text);
    textX[textCount] = x;
    textY[textCount] = y;
    ++textCount;
}

void Question::addPicture(std::int32_t x, std::int32_t y, std::string_view name,
                          const ContentProblem& where) {
    if (pictureCount >= kCapacity) return;
    pictures[pictureCount] = load_content_picture(name, where);
    pictureX[pictureCount] = x;
    pictureY[pictureCount] = y;
    ++pictureCount;
}

void Question::clear() {
    for (int i = 0; i < textCount; ++i) textLines[i].clear();
    for (int i = 0; i < pictureCount; ++i) pictures[i].reset();
    textCount = 0;
    pictureCount = 0;
    correctAnswer = 0;
}

void Question::draw(DrawContext* context) const {
    for (int i = 0; i < textCount; ++i) gfx_draw_text(textX[i], textY[i], textLines[i]);
    for (int i = 0; i < pictureCount; ++i) {
        gfx_put_bitmap(context, pictureX[i], pictureY[i], pictures[i].get(), 0);
    }
}

void QuestionStore::clear() {
    for (Question& question : questions) question.clear();
    questionCount = 0;
}

void QuestionStore::fill(const QuestionFileContent& content) {
    for (const QuestionRecord& record : content.questions) {
        if (questionCount >= kCapacity) break;
        Question& question = questions[questionCount++];
        for (const QuestionTextLine& line : record.textLines) {
            question.addTextLine(line.x, line.y, line.text);
        }
        for (const QuestionPictureLine& picture : record.pictures) {
            question.addPicture(picture.x, picture.y, picture.name,
                                {std::string(kQuestionFilePath), picture.line, {}});
        }
        question.setCorrectAnswer(record.correctAnswer);
    }
}

void QuestionStore::loadQuestions() {
    clear();
    const QuestionFileContent content = readQuestionFile();
    reportProblems(content.problems);
    // Pictures come first: a missing one, read before the stop, is what the
    // program ends with.
    fill(content);
    if (content.stop != QuestionFileStop::None) gfx_fatal_error(stopMessage(content.stop));
}

const Question* QuestionStore::currentQuestion() const {
    if (current < 0 || current >= questionCount) return nullptr;
    return &questions[current];
}

void QuestionStore::drawCurrentQuestion(DrawContext* context) const {
    if (const Question* question = currentQuestion()) question->draw(context);
}

bool QuestionStore::isRightAnswer(int answer) const {
    const Question* question = currentQuestion();
    return question && answer == question->correctAnswer;
}

void QuestionStore::nextQuestion() {
    ++current;
    if (current >= questionCount) current = 0;
}
