#include "logic/logic_file_parser.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/model_lines.h"

namespace {

// A record's value lines follow its header directly; empty and ";" lines
// among them are values too. The end of the file inside a record leaves it
// incomplete.
class ValueReader {
public:
    ValueReader(TextFile& file, LogicFileContents& out) : file_(file), out_(out) {}

    bool ended() const { return ended_; }

    std::string text() {
        std::string line;
        if (!ended_ && !file_.readLine(line)) ended_ = true;
        return line;
    }
    std::int32_t integer() { return readLineNumber(text()); }
    float number() {
        const std::string line = text();
        float value = 0.0f;
        if (!ended_ && !logicNumber(line, value)) {
            out_.problems.push_back(
                {file_.lineNumber(), "number '" + line + "' is out of range"});
        }
        return value;
    }
    Vec3 point() {
        const float x = number();
        const float y = number();
        const float z = number();
        return Vec3{x, y, z};
    }
    Box box() {
        const Vec3 low = point();
        const Vec3 high = point();
        return Box{low, high};
    }

private:
    TextFile& file_;
    LogicFileContents& out_;
    bool ended_ = false;
};

LogicObject readObject(ValueReader& values, TextFile& file, bool& messageEnded) {
    LogicObject object;
    object.name = values.text();
    object.file = values.text();
    object.active = values.integer();
    object.position = values.point();
    object.otherPosition = values.point();
    messageEnded = false;
    object.messageLine = file.lineNumber() + 1;
    std::string line;
    while (!values.ended() && file.readLine(line)) {
        if (!line.empty() && line[0] == '#') {
            messageEnded = true;
            break;
        }
        object.message.push_back(line);
    }
    return object;
}

const char* recordName(char letter) {
    switch (letter) {
    case 'B': return "start point (B)";
    case 'E': return "passage (E)";
    case 'S': return "sound zone (S)";
    default: return "object (O)";
    }
}

std::string mazeRange(std::size_t count) {
    return count == 0 ? std::string("there are no mazes")
                      : "mazes are 0 to " + std::to_string(count - 1);
}

class Judge {
public:
    Judge(std::span<const MazeFacts> mazes, int soundCount)
        : mazes_(mazes), soundCount_(soundCount), startPoints_(mazes.size(), 0),
          startPointsSeen_(mazes.size(), 0), passages_(mazes.size(), 0),
          zones_(mazes.size(), 0) {}

    void countStartPoints(const LogicFileContents& contents) {
        for (const LogicRecord& record : contents.records) {
            if (std::holds_alternative<LogicStartPoint>(record.value) && mazeExists(record.maze)) {
                ++startPoints_[record.maze];
            }
        }
    }

    void judge(const LogicRecord& record) {
        if (!mazeExists(record.maze)) {
            fatal(record.line, "maze " + std::to_string(record.maze) + " does not exist (" +
                                   mazeRange(mazes_.size()) + ")");
            return;
        }
        if (std::holds_alternative<LogicStartPoint>(record.value)) {
            limitList(startPointsSeen_[record.maze], record, "start points");
        } else if (const auto* passage = std::get_if<LogicPassage>(&record.value)) {
            limitList(passages_[record.maze], record, "passages");
            judgePassage(record.line, *passage);
        } else if (const auto* zone = std::get_if<LogicSoundZone>(&record.value)) {
            limitList(zones_[record.maze], record, "sound zones");
            if (zone->sound < 0 || zone->sound >= soundCount_) {
                problems.push_back({record.line,
                                    "sound " + std::to_string(zone->sound) +
                                        " is not one of the sounds 0 to " +
                                        std::to_string(soundCount_ - 1) + ": nothing will play",
                                    nullptr});
            }
        } else if (++objects_ == World::kSlotCapacity + 1) {
            problems.push_back({record.line, "a 21st object: the world holds 20", kSlotsFull});
        }
    }

    std::vector<LogicProblem> problems;

private:
    bool mazeExists(std::int32_t maze) const {
        return maze >= 0 && static_cast<std::size_t>(maze) < mazes_.size();
    }
    void fatal(int line, std::string reason) { problems.push_back({line, std::move(reason)}); }

    void limitList(int& count, const LogicRecord& record, const char* what) {
        if (++count == SlotList<Passage>::kCapacity + 1) {
            problems.push_back({record.line,
                                "maze " + std::to_string(record.maze) + " has more than 20 " + what,
                                kListFull});
        }
    }

    void judgePassage(int line, const LogicPassage& passage) {
        const std::int32_t target = passage.targetMaze;
        if (!mazeExists(target)) {
            fatal(line, "passage to maze " + std::to_string(target) + ", which does not exist (" +
                            mazeRange(mazes_.size()) + ")");
        } else if (!mazes_[target].loaded) {
            fatal(line, "passage to maze " + std::to_string(target) + ", whose model did not load");
        } else if (passage.targetStartPoint < 0 ||
                   passage.targetStartPoint >= startPoints_[target]) {
            fatal(line, "passage to start point " + std::to_string(passage.targetStartPoint) +
                            " of maze " + std::to_string(target) + ", which has " +
                            std::to_string(startPoints_[target]) + " start point(s)");
        }
    }

    std::span<const MazeFacts> mazes_;
    int soundCount_;
    std::vector<int> startPoints_;
    std::vector<int> startPointsSeen_;
    std::vector<int> passages_;
    std::vector<int> zones_;
    int objects_ = 0;
};

}  // namespace

std::vector<LogicProblem> judgeLogicFile(const LogicFileContents& contents,
                                         std::span<const MazeFacts> mazes, int soundCount) {
    Judge judge(mazes, soundCount);
    judge.countStartPoints(contents);
    for (const LogicRecord& record : contents.records) judge.judge(record);
    return std::move(judge.problems);
}

bool logicNumber(std::string_view line, float& value) {
    const RealRead read = readReal(line, 0);
    value = 0.0f;
    if (!read.converted) return true;
    if (!read.inRange || std::fabs(read.value) > kLogicNumberBound) return false;
    value = static_cast<float>(read.value);
    return true;
}

LogicFileContents parseLogicFile(TextFile& file) {
    LogicFileContents out;
    std::string line;
    while (file.readLine(line)) {
        if (line.empty() || line[0] == ';') continue;
        const char letter = line[0];
        if (letter != 'B' && letter != 'E' && letter != 'S' && letter != 'O') {
            out.problems.push_back({file.lineNumber(),
                                    "'" + line.substr(0, 40) +
                                        "' is neither a comment nor a record header (B, E, S or O)"});
            out.headerError = true;
            return out;
        }
        LogicRecord record;
        record.line = file.lineNumber();
        record.maze = readLineNumber(std::string_view(line).substr(1));
        ValueReader values(file, out);
        bool complete = true;
        switch (letter) {
        case 'B': {
            const Vec3 p = values.point();
            record.value = LogicStartPoint{{p.x, p.y, p.z}};
            break;
        }
        case 'E': {
            LogicPassage passage;
            passage.targetMaze = values.integer();
            passage.targetStartPoint = values.integer();
            passage.box = values.box();
            record.value = passage;
            break;
        }
        case 'S': {
            LogicSoundZone zone;
            zone.sound = values.integer();
            zone.box = values.box();
            record.value = zone;
            break;
        }
        default: {
            bool messageEnded = false;
            LogicObject object = readObject(values, file, messageEnded);
            complete = messageEnded;
            // Refused, not skipped: object k, message k and question k go
            // together, so a gap would pair every later object with the
            // wrong question, and an active object left out could never be
            // found. The record stays out so that no one opens the name.
            if (complete && !isContainedFileName(object.file)) {
                out.problems.push_back(
                    {record.line, "object file '" + object.file +
                                      "' must be a file name inside Objects (not empty, not "
                                      "absolute, no '..'), such as globe.krv"});
                continue;
            }
            record.value = std::move(object);
            break;
        }
        }
        if (values.ended() || !complete) {
            out.problems.push_back({record.line,
                                    std::string("the file ends inside this ") +
                                        recordName(letter) + " record: record left out",
                                    nullptr});
            break;
        }
        out.records.push_back(std::move(record));
    }
    return out;
}
