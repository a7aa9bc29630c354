#include "quiz/quiz_writer.h"

#include <cmath>
#include <sstream>

namespace {

// Whole units where they are whole, as authors write them.
std::string number(float value) {
    if (value == std::round(value)) return std::to_string(static_cast<long>(std::lround(value)));
    std::ostringstream out;
    out << value;
    return out.str();
}

void point(std::ostringstream& out, const Vec3& p) {
    out << number(p.x) << "\n" << number(p.y) << "\n" << number(p.z) << "\n";
}

void box(std::ostringstream& out, const Box& b) {
    point(out, b.min);
    point(out, b.max);
}

// A line the game reads as a comment or a marker must not start a value.
std::string safeText(std::string line) {
    if (!line.empty() && line[0] == '#') line.insert(0, " ");
    return line;
}

}  // namespace

std::string logicFileText(const std::string& title, const LogicFileContents& base,
                          std::span<const PlannedQuestion> questions) {
    std::ostringstream out;
    out << "; " << title << ": made by krvtool quiz from its question list.\n"
        << "; The mazes' start points, passages and sound zones, then one object\n"
        << "; per question in question order (position, then where a wrong answer\n"
        << "; sends it) with the message that scrolls while it is sought.\n";
    for (const LogicRecord& record : base.records) {
        if (const auto* start = std::get_if<LogicStartPoint>(&record.value)) {
            out << "B " << record.maze << "\n";
            point(out, Vec3{start->point.x, start->point.y, start->point.z});
        } else if (const auto* passage = std::get_if<LogicPassage>(&record.value)) {
            out << "E " << record.maze << "\n" << passage->targetMaze << "\n"
                << passage->targetStartPoint << "\n";
            box(out, passage->box);
        } else if (const auto* zone = std::get_if<LogicSoundZone>(&record.value)) {
            out << "S " << record.maze << "\n" << zone->sound << "\n";
            box(out, zone->box);
        }
    }
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const PlannedQuestion& question = questions[i];
        out << "; Question " << (i + 1) << "\n"
            << "O " << question.place.maze << "\n"
            << question.objectName << "\n"
            << question.objectFile << "\n"
            << (i == 0 ? 1 : 0) << "\n";
        point(out, question.place.position);
        point(out, question.place.otherPosition);
        for (const std::string& line : question.message) out << safeText(line) << "\n";
        out << "#\n";
    }
    return out.str();
}

std::string questionFileText(const std::string& title, std::span<const PlannedQuestion> questions) {
    std::ostringstream out;
    out << "; " << title << ": made by krvtool quiz from its question list.\n";
    for (const PlannedQuestion& question : questions) {
        out << "Q\n";
        // The answer follows every block: the last one's counts.
        const auto text = [&](const ScreenText& block) {
            out << "TEXT\n" << block.x << "\n" << block.y << "\n";
            for (const std::string& line : block.lines) out << safeText(line) << "\n";
            out << "#\n" << question.right << "\n";
        };
        text(question.screen.texts.front());
        if (question.screen.picture) {
            const ScreenPicture& picture = *question.screen.picture;
            out << "BITMAP\n" << question.picture << "\n" << picture.x << "\n" << picture.y << "\n";
        }
        for (std::size_t k = 1; k < question.screen.texts.size(); ++k) text(question.screen.texts[k]);
    }
    return out.str();
}

std::string introFileText(const std::string& picture, int milliseconds) {
    return "; The title screen, for as long as the intro music plays.\n" + picture + "\n0\n0\n" +
           std::to_string(milliseconds) + "\n";
}

std::vector<std::string> endingLines(const QuizFile& quiz, const std::string& title) {
    const std::vector<std::string>& source = quiz.ending.empty() ? quiz.words.ending : quiz.ending;
    std::vector<std::string> lines;
    for (const std::string& paragraph : source) {
        const std::string filled = fillPlaceholders(paragraph, "title", title);
        const std::vector<std::string> wrapped = wrapText(filled, kEndingColumns);
        if (wrapped.empty()) lines.push_back(" ");
        for (const std::string& line : wrapped) lines.push_back(line);
    }
    return lines;
}

std::string endingFileText(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

std::string pageFileText(const std::string& title, std::span<const QuizPageText> page) {
    std::string out = "; The page's own words, made by krvtool quiz.\ntitle: " + title + "\n";
    for (const QuizPageText& entry : page) out += entry.key + ": " + entry.value.text + "\n";
    return out;
}

std::vector<std::string> messageLines(const QuizFile& quiz, std::size_t index, bool newMaze) {
    std::vector<std::string> paragraphs = quiz.questions[index].hint;
    if (paragraphs.empty()) {
        const QuizWords& words = quiz.words;
        paragraphs.push_back(index == 0 ? words.firstHint : newMaze ? words.nextMaze : words.nextHint);
    }
    std::vector<std::string> lines;
    for (const std::string& paragraph : paragraphs) {
        std::string text = fillPlaceholders(paragraph, "n", std::to_string(index + 1));
        text = fillPlaceholders(text, "total", std::to_string(quiz.questions.size()));
        for (std::string& line : wrapText(text, kHintColumns)) lines.push_back(std::move(line));
    }
    return lines;
}
