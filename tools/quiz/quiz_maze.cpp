#include "quiz/quiz_maze.h"

#include "maze/maze_compile.h"

bool readQuizMaze(const std::string& path, QuizMaze& maze, std::string& error) {
    maze.path = path;
    if (!read_maze_source(path, maze.source, error) || !build_maze(maze.source, maze.build, error)) return false;
    for (const MazeMark& mark : maze.build.marks) {
        const Vec3 at{static_cast<float>(mark.lo[0]), static_cast<float>(mark.lo[1]),
                      static_cast<float>(mark.lo[2])};
        if (mark.kind == MarkKind::Object) maze.objectMarks.emplace_back(mark.name, at);
        if (mark.kind == MarkKind::Start) maze.startMarks.emplace_back(mark.name, at);
        if (mark.kind == MarkKind::Passage) {
            const Vec3 high{static_cast<float>(mark.hi[0]), static_cast<float>(mark.hi[1]),
                            static_cast<float>(mark.hi[2])};
            maze.passageMarks.emplace_back(mark.name, Box{at, high});
        }
    }
    return true;
}

bool compileQuizMaze(QuizMaze& maze, const std::string& modelPath, std::string& error) {
    return compile_built_maze(maze.path, maze.source, maze.build, modelPath, "", false, error);
}
