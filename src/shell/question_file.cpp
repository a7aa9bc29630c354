#include "shell/question_file.h"

#include <algorithm>
#include <limits>

#include "framework/files.h"

const char* stopMessage(QuestionFileStop stop) {
    switch (stop) {
    case QuestionFileStop::NoLeadingQ: return "Question file must begin with a 'Q'!";
    case QuestionFileStop::NoSpace: return "No space for further questions!";
    case QuestionFileStop::None: break;
    }
    return "";
}

namespace {

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

class QuestionReader {
public:
    QuestionReader(TextFile& file, std::string_view name, QuestionFileContent& content)
        : file_(file), name_(name), content_(content) {}

    void readAll() {
        readEntries();
        checkAnswers();
    }

private:
    void readEntries() {
        std::string line;
        while (file_.readLine(line)) {
            if (isBlankOrComment(line)) continue;
            if (line == "Q") {
                if (!startQuestion()) return;
                continue;
            }
            if (content_.questions.empty()) {
                stop(QuestionFileStop::NoLeadingQ, "\"" + line + "\" before the first \"Q\"");
                return;
            }
            if (line == "TEXT") readTextBlock(content_.questions.back());
            else if (line == "BITMAP") readPicture(content_.questions.back());
        }
    }

    bool startQuestion() {
        if (static_cast<int>(content_.questions.size()) >= kMaxQuestions) {
            stop(QuestionFileStop::NoSpace, "a 20th question; at most 19 fit");
            return false;
        }
        QuestionRecord& question = content_.questions.emplace_back();
        question.line = file_.lineNumber();
        return true;
    }

    void stop(QuestionFileStop why, std::string reason) {
        content_.stop = why;
        problem(file_.lineNumber(), std::move(reason) + ": " + stopMessage(why));
    }

    void problem(int line, std::string reason) {
        content_.problems.push_back({std::string(name_), line, std::move(reason)});
    }

    // The next line of an entry begun at `entryLine`; false, with a problem,
    // when the file ended first.
    bool entryLine(std::string& line, int entryLine, const char* entry) {
        if (file_.readLine(line)) return true;
        problem(entryLine, std::string("the file ends inside this ") + entry +
                               " entry; what was read of it is kept");
        return false;
    }

    void readTextBlock(QuestionRecord& question) {
        const int at = file_.lineNumber();
        std::string line;
        if (!entryLine(line, at, "TEXT")) return;
        const std::int32_t x = readLineNumber(line);
        if (!entryLine(line, at, "TEXT")) return;
        std::int64_t y = readLineNumber(line);
        while (true) {
            if (!entryLine(line, at, "TEXT")) return;
            if (!line.empty() && line.front() == '#') break;
            addTextLine(question, x, y, line);
            y += kQuestionLineSpacing;
        }
        if (!entryLine(line, at, "TEXT")) return;
        question.correctAnswer = readLineNumber(line);
        question.answerLine = file_.lineNumber();
    }

    void addTextLine(QuestionRecord& question, std::int32_t x, std::int64_t y,
                     const std::string& text) {
        if (static_cast<int>(question.textLines.size()) < kQuestionLines) {
            question.textLines.push_back({x, clampToInt32(y), text, file_.lineNumber()});
        } else if (!question.textLinesDropped) {
            question.textLinesDropped = true;
            problem(file_.lineNumber(), "a 21st text line in one question is not shown");
        }
    }

    void readPicture(QuestionRecord& question) {
        const int at = file_.lineNumber();
        QuestionPictureLine picture;
        std::string line;
        if (!entryLine(picture.name, at, "BITMAP")) return;
        picture.line = file_.lineNumber();
        if (!entryLine(line, at, "BITMAP")) return;
        picture.x = readLineNumber(line);
        if (!entryLine(line, at, "BITMAP")) return;
        picture.y = readLineNumber(line);
        if (static_cast<int>(question.pictures.size()) < kQuestionPictures) {
            question.pictures.push_back(std::move(picture));
        } else if (!question.picturesDropped) {
            question.picturesDropped = true;
            problem(at, "a 21st picture in one question is not shown");
        }
    }

    // Only the keys 1 to 3 answer: any other number leaves the question
    // unanswerable and the game unwinnable.
    void checkAnswers() {
        for (const QuestionRecord& question : content_.questions) {
            if (question.answerLine == 0) {
                problem(question.line, "question without a TEXT block: no answer is right");
            } else if (question.correctAnswer < 1 || question.correctAnswer > 3) {
                problem(question.answerLine, "the right answer must be 1, 2 or 3, is " +
                                                 std::to_string(question.correctAnswer));
            }
        }
    }

    TextFile& file_;
    std::string_view name_;
    QuestionFileContent& content_;
};

}  // namespace

QuestionFileContent parseQuestionFile(TextFile& file, std::string_view name) {
    QuestionFileContent content;
    content.opened = file.isOpen();
    if (!content.opened) {
        content.problems.push_back({std::string(name), 0, "cannot open the file: no questions"});
        return content;
    }
    QuestionReader(file, name, content).readAll();
    return content;
}

QuestionFileContent readQuestionFile(std::string_view gamePath) {
    TextFile file;
    file.open(gamePath);
    return parseQuestionFile(file, gamePath);
}
