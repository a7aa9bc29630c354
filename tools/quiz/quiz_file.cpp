#include "quiz/quiz_file.h"

#include <algorithm>
#include <cctype>

#include "framework/files.h"
#include "framework/text_decode.h"
#include "quiz/quiz_formats.h"

namespace {

struct WordsEntry {
    const char* language;
    QuizWords words;
};

// Every text the builder adds itself, per language, so a quiz in one of
// these shows no word of another with one `Language:` line.
const WordsEntry kWords[] = {
    {"en",
     {"Question {n} of {total}", "Press 1, 2 or 3.", "Press 1 or 2.",
      "Walk through the maze and find the object that turns on its own. Walk up to it to see "
      "question 1, and answer with the keys 1, 2 or 3. Space shows this message again.",
      "Well done! Now find the next object, for question {n}.",
      "Well done! The object for question {n} waits in the next maze: find the way there.",
      "True", "False",
      {"WELL DONE!", "", "You have answered every question of", "{title}.", "",
       "Thank you for playing."}}},
    {"de",
     {"Frage {n} von {total}", "Drücke 1, 2 oder 3.", "Drücke 1 oder 2.",
      "Geh durch das Labyrinth und finde den Gegenstand, der sich dreht. Geh zu ihm hin, dann "
      "siehst du Frage 1; antworte mit den Tasten 1, 2 oder 3. Die Leertaste zeigt diese "
      "Nachricht noch einmal.",
      "Gut gemacht! Finde jetzt den nächsten Gegenstand, für Frage {n}.",
      "Gut gemacht! Der Gegenstand für Frage {n} wartet im nächsten Labyrinth: finde den Weg "
      "dorthin.",
      "Richtig", "Falsch",
      {"GESCHAFFT!", "", "Du hast alle Fragen von", "{title}", "beantwortet.", "",
       "Danke fürs Spielen."}}},
    {"fr",
     {"Question {n} sur {total}", "Appuie sur 1, 2 ou 3.", "Appuie sur 1 ou 2.",
      "Parcours le labyrinthe et trouve l'objet qui tourne sur lui-même. Approche-toi de lui "
      "pour voir la question 1, et réponds avec les touches 1, 2 ou 3. La barre d'espace "
      "montre ce message de nouveau.",
      "Bravo ! Trouve maintenant l'objet suivant, pour la question {n}.",
      "Bravo ! L'objet de la question {n} t'attend dans le labyrinthe suivant : trouve le "
      "chemin.",
      "Vrai", "Faux",
      {"BRAVO !", "", "Tu as répondu à toutes les questions de", "{title}.", "",
       "Merci d'avoir joué."}}},
};

enum class Own {
    None,
    Title,
    Intro,
    IntroPicture,
    Ending,
    Language,
    Text,
    Page,
    Picture,
    Hint,
    Object,
    Place,
    Maze,
};

struct OwnLine {
    Own kind = Own::None;
    std::string key;    // lower case, for Text and Page: the word after it
    std::string value;  // trimmed
};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// "Key: value" with a key of ours (any case); None for every other line,
// "ANSWER: B" among them.
OwnLine ownLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon > 24) return {};
    const std::string key = lowered(trimmed(line.substr(0, colon)));
    const std::string value = trimmed(line.substr(colon + 1));
    static const std::pair<const char*, Own> kKeys[] = {
        {"title", Own::Title},       {"intro", Own::Intro},     {"intro picture", Own::IntroPicture},
        {"ending", Own::Ending},     {"language", Own::Language}, {"picture", Own::Picture},
        {"hint", Own::Hint},         {"object", Own::Object},     {"place", Own::Place},
        {"maze", Own::Maze},
    };
    for (const auto& [name, kind] : kKeys) {
        if (key == name) return {kind, key, value};
    }
    if (key.starts_with("text ")) return {Own::Text, key.substr(5), value};
    if (key.starts_with("page ")) return {Own::Page, key.substr(5), value};
    return {};
}

// Lines of older editors (Latin-1) become UTF-8, so every line we write is
// read one way by the game.
std::string asUtf8(std::string_view line) {
    if (decodingOf(line).utf8 && decodingOf(line).utf8End == line.size()) return std::string(line);
    std::string out;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::vector<QuizLine> splitLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<QuizLine> lines;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back({++number, asUtf8(line)});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool setText(QuizWords& words, const std::string& key, const std::string& value) {
    std::pair<const char*, std::string*> fields[] = {
        {"question", &words.question},     {"press 3", &words.press3},
        {"press 2", &words.press2},        {"first hint", &words.firstHint},
        {"next hint", &words.nextHint},    {"next maze", &words.nextMaze},
        {"true", &words.trueWord},         {"false", &words.falseWord},
    };
    for (auto& [name, field] : fields) {
        if (key == name) {
            *field = value;
            return true;
        }
    }
    return false;
}

void setOnce(QuizValue& value, const OwnLine& own, int line, const char* what, QuizFile& quiz) {
    if (value.given()) {
        quiz.problems.push_back({line, std::string(what) + " is given twice (first on line " +
                                           std::to_string(value.line) + "): keep one"});
        return;
    }
    if (own.value.empty()) {
        quiz.problems.push_back({line, std::string(what) + " is empty: write it after the colon"});
        return;
    }
    value = {own.value, line};
}

// Files a quiz file names are taken from its own folder and its subfolders
// only: quiz files pass between people, and a name that reaches out (an
// absolute path, "..") would carry someone's other files into the quiz.
bool keptInsideQuizFolder(QuizFile& quiz, const std::string& name, int line, const char* what) {
    if (name.empty() || isContainedFileName(name)) return true;
    quiz.problems.push_back({line, std::string(what) + " '" + name +
                                       "' is outside the quiz file's folder: put the file in "
                                       "that folder (or a folder in it) and give its name "
                                       "from there"});
    return false;
}

// The question a per-question line belongs to: the last one begun before it.
QuizQuestion* questionBefore(QuizFile& quiz, int line) {
    QuizQuestion* found = nullptr;
    for (QuizQuestion& question : quiz.questions) {
        if (question.line < line) found = &question;
    }
    return found;
}

void applyQuestionLine(QuizFile& quiz, const OwnLine& own, int line) {
    QuizQuestion* question = questionBefore(quiz, line);
    const char* name = own.kind == Own::Picture ? "Picture:"
                       : own.kind == Own::Hint  ? "Hint:"
                       : own.kind == Own::Place ? "Place:"
                                                : "Object:";
    if (!question) {
        quiz.problems.push_back({line, std::string(name) +
                                           " stands before the first question: write it below "
                                           "the question it belongs to"});
        return;
    }
    if (own.kind == Own::Hint) {
        if (question->hintLine == 0) question->hintLine = line;
        question->hint.push_back(own.value);
    } else {
        QuizValue& value = own.kind == Own::Picture ? question->picture
                           : own.kind == Own::Place ? question->place
                                                    : question->object;
        if (own.kind != Own::Place && !keptInsideQuizFolder(quiz, own.value, line, name)) return;
        setOnce(value, own, line, name, quiz);
    }
}

void applyQuizLine(QuizFile& quiz, const OwnLine& own, int line, QuizWords& ownWords,
                   std::vector<std::pair<std::string, std::string>>& texts) {
    switch (own.kind) {
    case Own::Title: setOnce(quiz.title, own, line, "Title:", quiz); break;
    case Own::IntroPicture:
        if (keptInsideQuizFolder(quiz, own.value, line, "Intro picture:")) {
            setOnce(quiz.introPicture, own, line, "Intro picture:", quiz);
        }
        break;
    case Own::Maze:
        if (own.value.empty()) {
            quiz.problems.push_back({line, "Maze: is empty: write the .maze file after the colon"});
        } else if (!keptInsideQuizFolder(quiz, own.value, line, "Maze:")) {
        } else if (quiz.mazes.size() == static_cast<std::size_t>(kMaxQuizMazes)) {
            quiz.problems.push_back({line, "a fourth Maze: line: the game has three mazes"});
        } else {
            quiz.mazes.push_back({own.value, line});
        }
        break;
    case Own::Intro: quiz.intro.push_back(own.value); break;
    case Own::Ending:
        if (quiz.endingLine == 0) quiz.endingLine = line;
        quiz.ending.push_back(own.value);
        break;
    case Own::Language:
        if (!quizWordsFor(lowered(own.value), ownWords)) {
            quiz.problems.push_back({line, "no built-in words for language '" + own.value +
                                               "': use en, de or fr, or give every Text line"});
        }
        break;
    case Own::Text:
        if (QuizWords probe; !setText(probe, own.key, own.value)) {
            quiz.problems.push_back(
                {line, "unknown 'Text " + own.key +
                           ":': the texts are question, press 3, press 2, first hint, next hint, "
                           "next maze, true and false"});
        } else {
            texts.emplace_back(own.key, own.value);
        }
        break;
    case Own::Page: {
        const auto* end = std::end(kQuizPageKeys);
        if (std::find(std::begin(kQuizPageKeys), end, own.key) == end) {
            quiz.problems.push_back({line, "unknown 'Page " + own.key +
                                               ":': the page's words are start, ended, result, "
                                               "continue, restart, forward, back, turn-left and "
                                               "turn-right"});
        } else {
            quiz.page.push_back({own.key, {own.value, line}});
        }
        break;
    }
    default: break;
    }
}

}  // namespace

std::string QuizProblem::describe(std::string_view fileName) const {
    return std::string(fileName) + ":" + std::to_string(line) + ": " + reason;
}

bool quizWordsFor(std::string_view language, QuizWords& words) {
    for (const WordsEntry& entry : kWords) {
        if (language == entry.language) {
            words = entry.words;
            return true;
        }
    }
    return false;
}

std::string fillPlaceholders(std::string text, std::string_view name, std::string_view value) {
    const std::string mark = "{" + std::string(name) + "}";
    for (std::size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + value.size())) {
        text.replace(at, mark.size(), value);
    }
    return text;
}

std::string trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

QuizFile parseQuizFile(std::string_view text) {
    QuizFile quiz;
    std::vector<QuizLine> lines = splitLines(text);
    std::vector<std::pair<int, OwnLine>> own;
    for (QuizLine& line : lines) {
        OwnLine found = ownLine(line.text);
        if (found.kind == Own::None) continue;
        own.emplace_back(line.number, std::move(found));
        line.text.clear();  // read as a blank line by the question formats
    }
    quiz.format = looksLikeBraceFormat(lines) ? QuizFormat::Braces : QuizFormat::Letters;
    if (quiz.format == QuizFormat::Braces) {
        parseBraceQuestions(lines, quiz);
    } else {
        parseLetterQuestions(lines, quiz);
    }

    QuizWords words;
    quizWordsFor("en", words);
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto& [line, found] : own) {
        const bool perQuestion = found.kind == Own::Picture || found.kind == Own::Hint ||
                                 found.kind == Own::Object || found.kind == Own::Place;
        if (perQuestion) {
            applyQuestionLine(quiz, found, line);
        } else {
            applyQuizLine(quiz, found, line, words, texts);
        }
    }
    for (const auto& [key, value] : texts) setText(words, key, value);
    quiz.words = words;
    for (QuizQuestion& question : quiz.questions) {
        if (question.trueFalse) question.answers = {words.trueWord, words.falseWord};
    }

    if (quiz.questions.empty() && quiz.problems.empty()) {
        quiz.problems.push_back({lines.empty() ? 1 : lines.back().number,
                                 "no questions: write each as its text, two or three answers "
                                 "A) B) C) and ANSWER: with the right letter"});
    }
    if (quiz.questions.size() > static_cast<std::size_t>(kMaxQuizQuestions)) {
        quiz.problems.push_back({quiz.questions[kMaxQuizQuestions].line,
                                 "question " + std::to_string(kMaxQuizQuestions + 1) +
                                     ": the game holds at most " +
                                     std::to_string(kMaxQuizQuestions) +
                                     " questions: make two quizzes of this one"});
    }
    std::stable_sort(quiz.problems.begin(), quiz.problems.end(),
                     [](const QuizProblem& a, const QuizProblem& b) { return a.line < b.line; });
    return quiz;
}
