#pragma once
// The default quiz's pictures, drawn from code like the frame and the title:
// the question pictures (q_*.bmp), shown on the black view of the question
// screen, and the intro's full-screen scenes (intro_*.bmp). The maze scenes
// are views rendered by `krvtool shot` and committed as PNGs in
// content/pictures/ (content/pictures/make-views.sh makes them again); here
// they get their captions. `krvtool content` writes all of them into Pics/.

#include <optional>
#include <string>

#include "pictures/canvas.h"

// Question pictures; their sizes are the ones Data/krv.qry centres them by.
IndexedPicture make_compass_question_picture();  // 200 by 200
IndexedPicture make_planet_question_picture();   // 320 by 200
IndexedPicture make_earth_question_picture();    // 200 by 200
IndexedPicture make_flag_question_picture();     // 240 by 160

// 640 by 480: the night sky over the Earth under the game's name and the
// quiz's, "EARTH AND SKY".
IndexedPicture make_intro_title_picture();
// 640 by 480: a rendered maze view filling the screen, its caption below.
IndexedPicture make_intro_view_picture(const RgbCanvas& view, const std::string& caption);
// 640 by 480: the view darkened behind the quest's three lines.
IndexedPicture make_intro_quest_picture(const RgbCanvas& view);

// Writes every quiz picture into folder (which must exist); the maze views
// are read from viewFolder. Says which file failed on stderr.
bool write_quiz_pictures(const std::string& folder, const std::string& viewFolder);
