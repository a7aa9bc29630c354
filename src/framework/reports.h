#pragma once
// What the game tells the platform about the quiz beyond its pages and
// sounds: each answer and the win. A page inside a learning platform turns
// them into a score and a status; the desktop and headless runs ignore them.
// Telling changes nothing in the game.

struct FwAnswer {
    int question = 0;       // 0-based, in the quiz's order
    int questionCount = 0;  // of the whole quiz
    bool right = false;
    bool won = false;  // this answer won the game: the ending begins
};

void fw_report_answer(const FwAnswer& answer);
