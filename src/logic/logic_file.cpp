#include "logic/logic_file.h"

#include <cstdio>
#include <limits>
#include <string>

#include "framework/framework.h"
#include "geometry/model.h"
#include "logic/message_board.h"
#include "logic/world.h"

namespace {

void report(const LogicProblem& problem) {
    std::fprintf(stderr, "%s:%d: %s\n", kLogicFile, problem.line, problem.reason.c_str());
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

void apply(const LogicRecord& record, World& world, MessageBoard& messages) {
    Slot& maze = world.mazeSlots[record.maze];
    if (const auto* start = std::get_if<LogicStartPoint>(&record.value)) {
        world.addStartPoint(maze, start->point.x, start->point.y, start->point.z);
    } else if (const auto* passage = std::get_if<LogicPassage>(&record.value)) {
        world.addPassage(maze, passage->targetMaze, passage->targetStartPoint, passage->box);
    } else if (const auto* zone = std::get_if<LogicSoundZone>(&record.value)) {
        world.addSoundZone(maze, zone->sound, zone->box);
    } else if (const auto* object = std::get_if<LogicObject>(&record.value)) {
        world.addObjectSlot(object->name, std::string("Objects\\") + object->file,
                            Matrix3::identity(), object->position, object->otherPosition,
                            record.maze, kObjectCellSize, Vec3{}, object->active);
        for (const std::string& line : object->message) messages.addMessageLine(line);
        messages.endMessage();
    }
}

}  // namespace

std::vector<LogicProblem> judgeLogicFile(const LogicFileContents& contents,
                                         std::span<const MazeFacts> mazes, int soundCount) {
    Judge judge(mazes, soundCount);
    judge.countStartPoints(contents);
    for (const LogicRecord& record : contents.records) judge.judge(record);
    return std::move(judge.problems);
}

void loadLogicFile(World& world, MessageBoard& messages) {
    TextFile file;
    if (!file.open(kLogicFile)) {
        std::fprintf(stderr, "%s: cannot open the logic file\n", kLogicFile);
        gfx_fatal_error("Can't open the logic file Data\\krv.lgk!");
    }
    const LogicFileContents contents = parseLogicFile(file);
    file.close();

    std::vector<MazeFacts> mazes(static_cast<std::size_t>(world.mazeCount));
    for (std::int32_t i = 0; i < world.mazeCount; ++i) {
        const Model* model = world.mazeModel(i);
        mazes[i].loaded = model && model->loaded;
    }
    // Sound numbers are not judged here: a zone with a number outside the
    // set simply plays nothing.
    const std::vector<LogicProblem> judged =
        judgeLogicFile(contents, mazes, std::numeric_limits<int>::max());

    // The first fatal problem in file order decides the message.
    const LogicProblem* first = nullptr;
    for (const auto* list : {&contents.problems, &judged}) {
        for (const LogicProblem& problem : *list) {
            report(problem);
            if (problem.fatalMessage && (!first || problem.line < first->line)) first = &problem;
        }
    }
    if (first) gfx_fatal_error(first->fatalMessage);

    for (const LogicRecord& record : contents.records) apply(record, world, messages);
}
