// Reading maze sources.
#include "maze/maze_source.h"

#include "framework/files.h"
#include "source_words.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace {

using Word = SourceWord;

std::vector<Word> splitWords(const std::string& line) { return splitSourceWords(line, true); }

class Parser : public SourceErrors {
public:
    Parser(const std::string& fileName, MazeSource& source) : SourceErrors(fileName), s_(source) {}

    // `count` numbers after the directive word.
    bool numbers(const std::vector<Word>& words, int line, std::size_t count, double* out) {
        if (words.size() != count + 1) {
            const int column = words.size() > count + 1 ? words[count + 1].column : words.back().column;
            return fail(line, column,
                        "'" + words[0].text + "' takes " + std::to_string(count) + (count == 1 ? " number" : " numbers"));
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!number(words[i + 1], line, out[i])) return false;
        }
        return true;
    }

    bool texture(const Word& word, int line) {
        for (const char c : word.text) {
            const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
            if (!ok) return fail(line, word.column, "texture names use lower-case letters, digits, '-' and '_'");
        }
        return true;
    }

    bool legendLine(const std::string& text, int line) {
        const char symbol = text[0];
        if (text.size() > 1 && text[1] != ' ' && text[1] != '\t') {
            return fail(line, 2, "a legend line is one map character, a blank, then its description");
        }
        if (s_.legend.count(symbol) != 0) {
            return fail(line, 1, std::string("'") + symbol + "' is already in the legend (line " +
                                     std::to_string(s_.legend[symbol].line) + ")");
        }
        CellType cell;
        cell.line = line;
        bool floorGiven = false, ceilingGiven = false;
        const std::vector<Word> words = splitWords(text.substr(1));
        for (std::size_t i = 0; i < words.size(); ++i) {
            Word word = words[i];
            word.column += 1;
            const std::string& key = word.text;
            if (key == "solid") {
                cell.solid = true;
                continue;
            }
            if (i + 1 >= words.size()) return fail(line, word.column, "'" + key + "' needs a value");
            Word value = words[++i];
            value.column += 1;
            if (key == "like") {
                if (value.text.size() != 1 || s_.legend.count(value.text[0]) == 0) {
                    return fail(line, value.column, "'like' names a character defined above");
                }
                const int keep = cell.line;
                cell = s_.legend[value.text[0]];
                cell.line = keep;
                floorGiven = ceilingGiven = !cell.solid;
            } else if (key == "floor" || key == "ceiling") {
                double v = 0.0;
                if (!number(value, line, v)) return false;
                (key == "floor" ? cell.floor : cell.ceiling) = v;
                (key == "floor" ? floorGiven : ceilingGiven) = true;
                cell.solid = false;
            } else if (key == "ground" || key == "roof" || key == "walls") {
                if (!texture(value, line)) return false;
                (key == "ground" ? cell.ground : key == "roof" ? cell.roof : cell.walls) = value.text;
            } else {
                return fail(line, word.column,
                            "unknown cell property '" + key + "' (solid, floor, ceiling, ground, roof, walls, like)");
            }
        }
        if (!cell.solid) {
            if (!floorGiven || !ceilingGiven) return fail(line, 1, "an open cell needs both 'floor' and 'ceiling'");
            if (cell.ceiling <= cell.floor) return fail(line, 1, "the ceiling must be above the floor");
            if (cell.ground.empty() || cell.roof.empty() || cell.walls.empty()) {
                return fail(line, 1, "an open cell needs 'ground', 'roof' and 'walls' textures");
            }
        }
        s_.legend[symbol] = cell;
        return true;
    }

    bool markLine(const std::vector<Word>& words, int line) {
        if (words.size() != 4) return fail(line, words[0].column, "write: mark CHARACTER KIND NAME");
        MarkDefinition mark;
        mark.line = line;
        if (words[1].text.size() != 1 || words[1].text == "." || words[1].text == " ") {
            return fail(line, words[1].column, "a mark is one character other than '.'");
        }
        mark.symbol = words[1].text[0];
        const std::string& kind = words[2].text;
        if (kind == "start") mark.kind = MarkKind::Start;
        else if (kind == "passage") mark.kind = MarkKind::Passage;
        else if (kind == "sound") mark.kind = MarkKind::Sound;
        else if (kind == "object") mark.kind = MarkKind::Object;
        else return fail(line, words[2].column, "a mark is a start, passage, sound or object");
        mark.name = words[3].text;
        for (const MarkDefinition& other : s_.markDefinitions) {
            if (other.symbol == mark.symbol) {
                return fail(line, words[1].column, "mark '" + words[1].text + "' is already defined on line " +
                                                       std::to_string(other.line));
            }
        }
        s_.markDefinitions.push_back(mark);
        return true;
    }

    bool parse(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        enum class Block { None, Legend, Map, Marks } block = Block::None;
        int blockStart = 0;
        bool sawLegend = false, sawCell = false, sawOrigin = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i) + 1;
            const std::string& text = lines[i];
            const std::vector<Word> words = splitWords(text);
            if (block == Block::Map || block == Block::Marks) {
                if (words.size() == 1 && words[0].text == "end" && words[0].column == 1) {
                    block = Block::None;
                    continue;
                }
                for (std::size_t c = 0; c < text.size(); ++c) {
                    if (text[c] == '\t') return fail(line, static_cast<int>(c) + 1, "use blanks, not tabs, in a grid");
                }
                (block == Block::Map ? s_.map : s_.marks).push_back(text);
                continue;
            }
            if (block == Block::Legend) {
                if (words.size() == 1 && words[0].text == "end" && words[0].column == 1) {
                    block = Block::None;
                    continue;
                }
                if (words.empty()) continue;
                if (text[0] == ' ' || text[0] == '\t') {
                    return fail(line, 1, "a legend line starts with its map character in the first column");
                }
                if (!legendLine(text, line)) return false;
                continue;
            }
            if (words.empty()) continue;
            const std::string& key = words[0].text;
            double v[3] = {};
            if (key == "maze") {
                if (words.size() != 2) return fail(line, words[0].column, "write: maze \"TITLE\"");
                s_.title = words[1].text;
            } else if (key == "cell") {
                if (!numbers(words, line, 1, v)) return false;
                if (v[0] < 10) return fail(line, words[1].column, "a cell is at least 10 units wide");
                s_.cell = v[0];
                sawCell = true;
            } else if (key == "origin") {
                if (!numbers(words, line, 2, v)) return false;
                s_.originX = v[0];
                s_.originZ = v[1];
                sawOrigin = true;
            } else if (key == "home") {
                if (!numbers(words, line, 3, v)) return false;
                s_.hasHome = true;
                s_.homeX = v[0];
                s_.homeY = v[1];
                s_.homeZ = v[2];
            } else if (key == "scale") {
                if (!numbers(words, line, 1, v)) return false;
                if (v[0] <= 0) return fail(line, words[1].column, "the scale must be positive");
                s_.textureScale = v[0];
            } else if (key == "skirting") {
                if (words.size() == 2 && words[1].text == "none") {
                    s_.skirtingWidth = 0.0;
                    continue;
                }
                if (words.size() != 4) return fail(line, words[0].column, "write: skirting WIDTH HEIGHT TEXTURE");
                if (!number(words[1], line, v[0]) || !number(words[2], line, v[1]) || !texture(words[3], line)) {
                    return false;
                }
                if (v[0] <= 0) return fail(line, words[1].column, "the skirting width must be positive");
                if (v[1] <= 15) {
                    return fail(line, words[2].column, "the skirting must be higher than a step (15) to keep players off");
                }
                s_.skirtingWidth = v[0];
                s_.skirtingHeight = v[1];
                s_.skirtingTexture = words[3].text;
            } else if (key == "legend" || key == "map" || key == "marks") {
                if (words.size() != 1) return fail(line, words[1].column, "'" + key + "' stands alone on its line");
                blockStart = line;
                if (key == "legend") {
                    block = Block::Legend;
                    sawLegend = true;
                } else if (key == "map") {
                    if (!s_.map.empty()) return fail(line, 1, "there is one map");
                    block = Block::Map;
                    s_.mapLine = line + 1;
                } else {
                    if (!s_.marks.empty()) return fail(line, 1, "there is one marks grid");
                    block = Block::Marks;
                    s_.marksLine = line + 1;
                }
            } else if (key == "mark") {
                if (!markLine(words, line)) return false;
            } else {
                return fail(line, words[0].column, "unknown directive '" + key + "'");
            }
        }
        const int last = static_cast<int>(lines.size());
        if (block != Block::None) return fail(blockStart, 1, "this block has no 'end' line");
        if (!sawLegend) return fail(last, 1, "the source has no legend");
        if (s_.map.empty()) return fail(last, 1, "the source has no map");
        if (!sawCell || !sawOrigin) return fail(last, 1, "the source needs 'cell' and 'origin'");
        if (s_.skirtingWidth > 0.0) {
            if (s_.skirtingTexture.empty()) return fail(last, 1, "the source needs 'skirting' (or 'skirting none')");
            if (2 * s_.skirtingWidth >= s_.cell) return fail(last, 1, "the skirting must be narrower than half a cell");
        }
        return checkGrids();
    }

    bool checkGrids() {
        for (std::size_t r = 0; r < s_.map.size(); ++r) {
            const std::string& row = s_.map[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (row[c] != ' ' && s_.legend.count(row[c]) == 0) {
                    return fail(s_.mapLine + static_cast<int>(r), static_cast<int>(c) + 1,
                                std::string("'") + row[c] + "' is not in the legend");
                }
            }
        }
        if (s_.marks.size() > s_.map.size()) {
            return fail(s_.marksLine + static_cast<int>(s_.map.size()), 1, "the marks grid is longer than the map");
        }
        std::map<char, bool> used;
        for (std::size_t r = 0; r < s_.marks.size(); ++r) {
            const std::string& row = s_.marks[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                const char m = row[c];
                if (m == '.' || m == ' ') continue;
                const int line = s_.marksLine + static_cast<int>(r);
                const int column = static_cast<int>(c) + 1;
                bool known = false;
                for (const MarkDefinition& mark : s_.markDefinitions) known = known || mark.symbol == m;
                if (!known) return fail(line, column, std::string("mark '") + m + "' has no 'mark' line");
                const char under = c < s_.map[r].size() ? s_.map[r][c] : ' ';
                if (under == ' ' || s_.legend[under].solid) {
                    return fail(line, column, std::string("mark '") + m + "' stands on a wall");
                }
                used[m] = true;
            }
        }
        for (const MarkDefinition& mark : s_.markDefinitions) {
            if (!used[mark.symbol]) {
                return fail(mark.line, 1, std::string("mark '") + mark.symbol + "' is not in the marks grid");
            }
        }
        return true;
    }

private:
    MazeSource& s_;
};

}  // namespace

const char* mark_kind_name(MarkKind kind) {
    switch (kind) {
        case MarkKind::Start: return "start";
        case MarkKind::Passage: return "passage";
        case MarkKind::Sound: return "sound";
        case MarkKind::Object: return "object";
    }
    return "?";
}

bool parse_maze_source(const std::string& text, const std::string& fileName, MazeSource& source,
                       std::string& error) {
    source = MazeSource{};
    source.fileName = fileName;
    Parser parser(fileName, source);
    if (!parser.parse(text)) {
        error = parser.error;
        return false;
    }
    return true;
}

bool read_maze_source(const std::string& path, MazeSource& source, std::string& error) {
    std::string text;
    if (!fw_read_whole_file(path, text)) {
        error = path + ": cannot open the file";
        return false;
    }
    return parse_maze_source(text, path, source, error);
}
