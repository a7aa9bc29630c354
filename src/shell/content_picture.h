#pragma once
// Loading a picture named by a content file (questions, intro): the name is
// looked up in Pics\ and must stay inside it. A missing, unreadable or
// outside picture ends the program with "Can't find all Bitmaps!" after
// "file:line: reason" on stderr.

#include <string_view>

#include "framework/owned_bitmap.h"
#include "shell/content_file.h"

// `where` names the file and line that named the picture (its reason is
// ignored); the picture keeps its palette.
OwnedBitmap load_content_picture(std::string_view name, const ContentProblem& where);
