#include "shell/content_picture.h"

#include <string>

#include "framework/framework.h"
#include "framework/gfx_errors.h"

namespace {

[[noreturn]] void pictureFailure(const ContentProblem& where, std::string reason) {
    ContentProblem problem = where;
    problem.reason = std::move(reason);
    reportProblems({&problem, 1});
    gfx_fatal_error("Can't find all Bitmaps!");
}

}  // namespace

OwnedBitmap load_content_picture(std::string_view name, const ContentProblem& where) {
    std::string reason;
    if (!isSafePictureName(name, reason)) pictureFailure(where, reason);
    const std::string path = std::string(kPictureFolder) + std::string(name);
    if (!gfx_bitmap_info(path)) pictureFailure(where, path + ": " + gfx_bitmap_problem());
    OwnedBitmap picture(gfx_load_bitmap(path, 1));
    if (!picture) pictureFailure(where, path + ": " + gfx_bitmap_problem());
    return picture;
}
