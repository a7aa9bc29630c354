#include "logic/logic_file.h"

#include <cstdio>
#include <limits>
#include <string>

#include "framework/fatal.h"
#include "geometry/model.h"
#include "logic/message_board.h"
#include "logic/world.h"

namespace {

void report(const LogicProblem& problem) {
    std::fprintf(stderr, "%s:%d: %s\n", kLogicFile, problem.line, problem.reason.c_str());
}

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
