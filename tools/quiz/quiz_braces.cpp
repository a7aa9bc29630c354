// The brace format learning platforms export: questions separated by blank
// lines, "//" comment lines, an optional "::name::" and "[format]" before
// the text, the answers in braces ("=" the right one, "~" the others, "#"
// feedback, "%50%" credit) and the escapes \~ \= \# \{ \} \: \\ \n.
// Multiple choice and true/false map onto the game's keys; a text after the
// braces (a missing word) becomes a gap; every other kind is refused with
// its reason.

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "quiz/quiz_formats.h"

namespace {

bool isSpecial(char c) {
    return c == '~' || c == '=' || c == '#' || c == '{' || c == '}' || c == ':' || c == '\\';
}

// The first unescaped `c` at or after `from`, or npos.
std::size_t findUnescaped(std::string_view text, char c, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == c) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t findUnescaped(std::string_view text, std::string_view pair, std::size_t from = 0) {
    for (std::size_t i = from; i + pair.size() <= text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text.substr(i, pair.size()) == pair) {
            return i;
        }
    }
    return std::string_view::npos;
}

// "\n" becomes a line break ('\n'); the other escapes their character.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (isSpecial(text[i + 1]) || text[i + 1] == 'n')) {
            out += text[i + 1] == 'n' ? '\n' : text[i + 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Platforms export their rich text as HTML: paragraphs and breaks become
// line breaks, other tags go, the common entities are decoded.
std::string plainFromHtml(std::string_view html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos) {
                out += html.substr(i);
                break;
            }
            const std::string tag = lowered(html.substr(i + 1, close - i - 1));
            if (tag.starts_with("br") || tag == "/p" || tag.starts_with("/div") || tag.starts_with("/li"))
                out += '\n';
            i = close;
        } else if (html[i] == '&') {
            static const std::pair<const char*, const char*> kEntities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"},   {"&quot;", "\""},
                {"&#39;", "'"}, {"&apos;", "'"}, {"&nbsp;", " "},
            };
            bool known = false;
            for (const auto& [entity, character] : kEntities) {
                if (html.substr(i).starts_with(entity)) {
                    out += character;
                    i += std::string_view(entity).size() - 1;
                    known = true;
                    break;
                }
            }
            if (!known) out += '&';
        } else {
            out += html[i];
        }
    }
    return out;
}

// Text with line breaks into paragraphs; runs of blanks become one.
std::vector<std::string> paragraphs(std::string_view text) {
    std::vector<std::string> out;
    std::string current;
    for (const char c : text) {
        if (c == '\n') {
            if (!trimmed(current).empty()) out.push_back(trimmed(current));
            current.clear();
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (!current.empty() && current.back() != ' ') current += ' ';
        } else {
            current += c;
        }
    }
    if (!trimmed(current).empty()) out.push_back(trimmed(current));
    return out;
}

struct Block {
    int line = 0;
    std::string text;  // source lines joined by blanks
};

struct Item {
    char marker = '~';
    std::string text;
    bool matching = false;
    double credit = 0.0;  // "%50%" after the marker; 0 when none
    bool hasCredit = false;
};

// The answer part split at its unescaped '=' and '~'.
bool splitItems(std::string_view inside, std::vector<Item>& items) {
    std::size_t at = 0;
    while (at < inside.size() && (inside[at] == ' ' || inside[at] == '\t')) ++at;
    if (at < inside.size() && inside[at] != '=' && inside[at] != '~') return false;
    while (at < inside.size()) {
        Item item;
        item.marker = inside[at++];
        std::size_t end = at;
        while (end < inside.size() && inside[end] != '=' && inside[end] != '~') {
            if (inside[end] == '\\') {
                end += 2;
                continue;
            }
            if (inside[end] == '-' && end + 1 < inside.size() && inside[end + 1] == '>') {
                item.matching = true;
                end += 2;
                continue;
            }
            ++end;
        }
        std::string_view raw = inside.substr(at, std::min(end, inside.size()) - at);
        const std::size_t feedback = findUnescaped(raw, '#');
        if (feedback != std::string_view::npos) raw = raw.substr(0, feedback);
        std::string text = trimmed(raw);
        if (text.size() > 1 && text[0] == '%') {
            const std::size_t close = text.find('%', 1);
            if (close != std::string::npos) {
                item.hasCredit = true;
                item.credit = std::atof(text.substr(1, close - 1).c_str());
                text = trimmed(std::string_view(text).substr(close + 1));
            }
        }
        item.text = trimmed(unescaped(text));
        items.push_back(std::move(item));
        at = end;
    }
    return true;
}

class BraceReader {
public:
    explicit BraceReader(QuizFile& quiz) : quiz_(quiz) {}

    void block(const Block& block) {
        std::string_view text = block.text;
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        if (text.starts_with("::")) {
            const std::size_t close = findUnescaped(text, "::", 2);
            if (close == std::string_view::npos) {
                problem(block.line, "the question's name has no closing '::': write ::name:: or "
                                    "leave the name out");
                return;
            }
            text.remove_prefix(close + 2);
        }
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        bool html = false;
        if (text.starts_with("[")) {
            const std::size_t close = text.find(']');
            if (close != std::string_view::npos && close < 12) {
                html = lowered(text.substr(1, close - 1)) == "html";
                text.remove_prefix(close + 1);
            }
        }
        const std::size_t open = findUnescaped(text, '{');
        if (open == std::string_view::npos) {
            problem(block.line, "a text without answers in { }: the game asks questions with two or "
                                "three answers; leave descriptions out");
            return;
        }
        const std::size_t close = findUnescaped(text, '}', open + 1);
        if (close == std::string_view::npos) {
            problem(block.line, "the answers' '{' is never closed: end them with }");
            return;
        }
        std::string before = unescaped(text.substr(0, open));
        const std::string after = trimmed(unescaped(text.substr(close + 1)));
        if (!after.empty()) before = trimmed(before) + " ___ " + after;  // a missing word
        QuizQuestion question;
        question.line = block.line;
        question.text = paragraphs(html ? plainFromHtml(before) : before);
        if (question.text.empty()) {
            problem(block.line, "the question has no text before its answers: write the question "
                                "before the {");
        }
        if (answers(block.line, text.substr(open + 1, close - open - 1), html, question)) {
            quiz_.questions.push_back(std::move(question));
        }
    }

private:
    bool answers(int line, std::string_view inside, bool html, QuizQuestion& question) {
        const std::string whole = trimmed(inside);
        if (whole.empty()) {
            return refuse(line, "an essay question (empty braces): the game asks questions with "
                                "two or three answers");
        }
        if (whole[0] == '#') {
            return refuse(line, "a numerical question ({#...}): give the numbers as answers, "
                                "{=right ~wrong ~wrong}");
        }
        const std::string word = lowered(trimmed(whole.substr(0, findUnescaped(whole, '#'))));
        if (word == "t" || word == "true" || word == "f" || word == "false") {
            question.trueFalse = true;  // its answers are the quiz's words, known later
            question.answers = {"", ""};
            question.right = word[0] == 't' ? 1 : 2;
            return true;
        }
        std::vector<Item> items;
        if (!splitItems(inside, items)) {
            return refuse(line, "the answers do not start with = or ~: write {=right ~wrong ~wrong}");
        }
        int rights = 0;
        int wrongs = 0;
        for (const Item& item : items) {
            if (item.matching) {
                return refuse(line, "a matching question (->): the game asks questions with two or "
                                    "three answers and one of them right");
            }
            if (item.marker == '~' && item.hasCredit && item.credit > 0.0) {
                return refuse(line, "an answer with part credit (~%" +
                                        std::to_string(static_cast<int>(item.credit)) +
                                        "%): the game knows right and wrong: mark the one right "
                                        "answer with = and the others with ~");
            }
            if (item.text.empty()) return refuse(line, "an empty answer: write its text after = or ~");
            (item.marker == '=' ? rights : wrongs) += 1;
        }
        if (wrongs == 0) {
            return refuse(line, "a short-answer question (only = answers): give the wrong answers "
                                "too, each after ~");
        }
        if (rights != 1) {
            return refuse(line, rights == 0 ? "no right answer: mark it with = instead of ~"
                                            : "more than one right answer (=): the game takes one: "
                                              "mark the others with ~");
        }
        if (items.size() > static_cast<std::size_t>(kMaxQuizAnswers)) {
            return refuse(line, std::to_string(items.size()) +
                                    " answers: the game answers with the keys 1 to 3: give two or "
                                    "three");
        }
        for (const Item& item : items) {
            const std::vector<std::string> parts = paragraphs(html ? plainFromHtml(item.text) : item.text);
            std::string text;
            for (const std::string& part : parts) text += (text.empty() ? "" : " ") + part;
            question.answers.push_back(text);
            if (item.marker == '=') question.right = static_cast<int>(question.answers.size());
        }
        return true;
    }

    bool refuse(int line, std::string reason) {
        problem(line, std::move(reason));
        return false;
    }

    void problem(int line, std::string reason) { quiz_.problems.push_back({line, std::move(reason)}); }

    QuizFile& quiz_;
};

}  // namespace

bool looksLikeBraceFormat(const std::vector<QuizLine>& lines) {
    bool braces = false;
    for (const QuizLine& line : lines) {
        const std::string text = trimmed(line.text);
        if (text.starts_with("ANSWER:")) return false;
        if (text.starts_with("//")) continue;
        if (text.starts_with("::") || findUnescaped(text, '{') != std::string_view::npos) braces = true;
    }
    return braces;
}

void parseBraceQuestions(const std::vector<QuizLine>& lines, QuizFile& quiz) {
    std::vector<Block> blocks;
    Block current;
    bool inside = false;  // an answer part runs over blank lines
    for (const QuizLine& line : lines) {
        const std::string text = trimmed(line.text);
        if (text.starts_with("//") || text.starts_with("$CATEGORY:")) continue;
        if (text.empty() && !inside) {
            if (current.line) blocks.push_back(current);
            current = Block{};
            continue;
        }
        if (text.empty()) continue;
        if (!current.line) current.line = line.number;
        current.text += (current.text.empty() ? "" : " ") + text;
        const std::size_t open = findUnescaped(current.text, '{');
        inside = open != std::string::npos &&
                 findUnescaped(current.text, '}', open + 1) == std::string::npos;
    }
    if (current.line) blocks.push_back(current);
    BraceReader reader(quiz);
    for (const Block& block : blocks) reader.block(block);
}
