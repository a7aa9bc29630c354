#pragma once
// For krvtool check: the question, intro and ending files of the data root
// read the way the game reads them, every picture they name looked up, and
// each problem said as "file:line: reason" instead of ending the program.

#include <string>
#include <vector>

// A missing question file is a problem (no answer can be right); a missing
// intro or ending is not: the game then skips it.
std::vector<std::string> checkQuizContent();
