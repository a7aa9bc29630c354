// The quiz maker page's C++ side: the quiz builder, the proof tools and the
// site plan, the same code as `krvtool quiz`, `playtest`, `map` and `web`.
// The page's worker (worker.js) puts the game and the teacher's files into
// the in-memory file system and calls these one step at a time, so the page
// can say what it is doing between them. Each answers in JSON text, valid
// until the next call.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "framework/files.h"
#include "framework/headless/headless.h"
#include "proof/maze_map.h"
#include "proof/playtest.h"
#include "quiz/quiz_build.h"
#include "web/site.h"

namespace {

std::string reply;

// The tools' code runs here as it does in krvtool: on the headless backend.
void useHeadlessBackend() { fw_use_headless_backend(); }

const char* answer(std::string text) {
    reply = std::move(text);
    return reply.c_str();
}

using site::jsonString;

std::string jsonList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + jsonString(items[i]);
    return out + "]";
}

std::string siteFiles(const std::vector<site::SiteFile>& files) {
    std::string out = "[";
    for (std::size_t i = 0; i < files.size(); ++i) {
        out += std::string(i ? "," : "") + "{\"source\":" + jsonString(files[i].source.string()) +
               ",\"path\":" + jsonString(files[i].path) + "}";
    }
    return out + "]";
}

}  // namespace

extern "C" {

// The quiz file and the files it names are in their folder; `game` is the
// built game the quiz is made from.
EMSCRIPTEN_KEEPALIVE const char* maker_build(const char* quizFile, const char* output, const char* game) {
    useHeadlessBackend();
    const QuizBuildResult result = buildQuiz(quizFile, {output, game});
    return answer("{\"problems\":" + jsonList(result.problems) + ",\"notes\":" + jsonList(result.notes) + "}");
}

// Wins the built quiz in the headless game; the proof sheet goes into `out`.
EMSCRIPTEN_KEEPALIVE const char* maker_playtest(const char* gameFolder, const char* out) {
    useHeadlessBackend();
    PlaytestOptions options;
    options.gameFolder = gameFolder;
    options.outFolder = out;
    const PlaytestResult result = runPlaytest(options);
    return answer(std::string("{\"won\":") + (result.won ? "true" : "false") +
                  ",\"failure\":" + jsonString(result.failure) +
                  ",\"seconds\":" + std::to_string(result.won ? result.iterationsToWin() / kGamePace : 0) +
                  ",\"proof\":" + jsonString(result.proofSheetPath) + "}");
}

// The mazes from above; the picture is written as write_page_png writes here.
EMSCRIPTEN_KEEPALIVE const char* maker_map(const char* gameFolder, const char* picture) {
    useHeadlessBackend();
    fw_set_data_root(gameFolder);
    std::string error;
    const auto map = drawMazeMap(-1, error);
    if (map && !map->canvas.writePng(picture, map_palette().data())) error = "cannot write the map";
    return answer("{\"error\":" + jsonString(error) + "}");
}

// What `krvtool web` would put on the site: the engine's files, the quiz's,
// and the text of files.json.
EMSCRIPTEN_KEEPALIVE const char* maker_site(const char* quiz, const char* engine) {
    useHeadlessBackend();
    site::Site plan;
    std::string error;
    if (!site::planSite(quiz, engine, plan, error)) return answer("{\"error\":" + jsonString(error) + "}");
    return answer("{\"error\":\"\",\"engine\":" + siteFiles(plan.engine) + ",\"quiz\":" + siteFiles(plan.quiz) +
                  ",\"fileList\":" + jsonString(plan.fileList) +
                  ",\"title\":" + jsonString(plan.words.word(PageWord::Title)) +
                  ",\"warnings\":" + jsonList(plan.warnings) + "}");
}

}  // extern "C"
