#include "logic/logic_file_parser.h"

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
    std::int32_t integer() { return logicInteger(text()); }
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

}  // namespace

std::int32_t logicInteger(std::string_view line) {
    const IntegerRead read = readInteger(line, 0);
    return read.converted ? static_cast<std::int32_t>(read.value) : 0;
}

bool logicNumber(std::string_view line, float& value) {
    const RealRead read = readReal(line, 0);
    value = 0.0f;
    if (!read.converted) return true;
    if (!read.inRange || std::fabs(read.value) > kLogicNumberBound) return false;
    value = static_cast<float>(read.value);
    return true;
}

bool isContainedFileName(std::string_view name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
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
        record.maze = logicInteger(std::string_view(line).substr(1));
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
            if (complete && !isContainedFileName(object.file)) {
                out.problems.push_back(
                    {record.line,
                     "object file '" + object.file +
                         "' must be a name inside Objects (not absolute, no '..'): object left out",
                     nullptr});
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
