#pragma once
// The proof sheet: one picture for proof-reading a quiz. Per object, in
// file order, the question screen as the player saw it beside the object's
// message as the band shows it (cut where the band cuts it), each under a
// caption naming the file and line to correct.

#include <string>
#include <vector>

#include "proof/pilot.h"
#include "proof/quiz_facts.h"

// Writes the sheet as a PNG; on failure false with the reason in `error`.
// Uses the game's font from the current data root.
bool writeProofSheet(const std::string& path, const QuizFacts& quiz,
                     const std::vector<QuestionCapture>& screens, std::string& error);
