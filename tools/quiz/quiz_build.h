#pragma once
// krvtool quiz: a whole game folder from one quiz file. The built game is
// copied with the quiz's own Data/, pictures and objects; every object is
// placed where a walking player reaches it and every screen laid out, so
// the author never writes a coordinate or a pixel position.
//
// Everything is made in a folder beside the output and swapped in only when
// the whole quiz is built and passes the game folder check: on any problem
// nothing is written and an existing output folder stays as it was.

#include <string>
#include <vector>

struct QuizBuildOptions {
    std::string output;  // the game folder to write
    std::string game;    // the built game to copy; empty: game/ beside krvtool
};

struct QuizBuildResult {
    std::vector<std::string> problems;  // "file:line: reason"; empty when written
    std::vector<std::string> notes;     // what went where, for the author
};

QuizBuildResult buildQuiz(const std::string& quizFile, const QuizBuildOptions& options);
