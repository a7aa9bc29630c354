// krvtool bench: the game frame's cost over a fixed set of views.
//
// The poses are the same every run: in every maze, the floor polygons (flat
// floors, in index order) are sampled evenly to give 80 views per maze, the
// eye 40 units above the polygon's centre (where walking puts it), turned
// by (k * 45 + k / 8 * 15) degrees for the k-th view, level. Every pose is
// drawn once to warm up, then all poses are drawn kPasses times, timing
// each frame of draw_game_frame (span reset, depth clear, background,
// maze and objects) on the headless backend. The timed frames are handed to
// a backend that keeps nothing, so presenting costs nothing here; the
// window's present is timed on its own (krvtool present-bench).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "geometry/model.h"
#include "render/render_session.h"
#include "render/texture_run_painters.h"
#include "shell/game.h"

namespace {

constexpr const char* kUsage = "bench [DIR] [--compare]";
constexpr int kViewsPerMaze = 80;
constexpr int kPasses = 5;

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

double timeFrame(RenderSession& session, const ViewPose& pose) {
    session.placeView(pose.maze, pose.eye, pose.turn, 0);
    const auto start = std::chrono::steady_clock::now();
    session.drawFrame();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// The medians of the two texture painters, drawn alternately.
void comparePainters(RenderSession& session, const std::vector<ViewPose>& poses) {
    const TextureRunPainter vector = vectorTextureRunPainter();
    if (!vector) {
        std::printf("compare: this processor has only the portable painter\n");
        return;
    }
    const TextureRunPainter painters[2] = {vector, paintTextureRunPortable};
    std::vector<double> micros[2];
    for (int pass = 0; pass < kPasses; ++pass) {
        for (const ViewPose& pose : poses) {
            for (int turn = 0; turn < 2; ++turn) {
                const int which = (turn + pass) % 2;  // neither always goes first
                useTextureRunPainter(painters[which]);
                micros[which].push_back(timeFrame(session, pose));
            }
        }
    }
    useTextureRunPainter(vector);
    std::printf("compare: vector_median_us=%.1f portable_median_us=%.1f\n",
                percentile(micros[0], 0.5), percentile(micros[1], 0.5));
}

int bench(std::span<char*> args) {
    bool compare = false;
    std::string dir;
    for (char* arg : args) {
        const std::string text(arg);
        if (text == "--compare") {
            compare = true;
        } else if (dir.empty() && text.rfind("--", 0) != 0) {
            dir = text;
        } else {
            std::fprintf(stderr, "usage: krvtool %s\n", kUsage);
            return 2;
        }
    }
    RenderSession session(dir);
    const std::vector<ViewPose> poses = floorPoses(session, kViewsPerMaze);
    if (poses.empty()) {
        std::fprintf(stderr, "krvtool bench: no maze with floors to look at\n");
        return 1;
    }
    for (const ViewPose& pose : poses) {
        session.placeView(pose.maze, pose.eye, pose.turn, 0);
        session.drawFrame();
    }
    session.setKeepFrames(false);
    if (compare) comparePainters(session, poses);
    std::vector<double> micros;
    micros.reserve(poses.size() * kPasses);
    for (int pass = 0; pass < kPasses; ++pass) {
        for (const ViewPose& pose : poses) micros.push_back(timeFrame(session, pose));
    }
    const double median = percentile(micros, 0.5);
    const double p99 = percentile(micros, 0.99);
    const double fps = 1e6 / median;
    const double mpix = static_cast<double>(kScreenPixels) / median;  // pixels per us = Mpix/s
    std::printf("%zu poses in %d mazes, %zu timed frames of 640x480\n", poses.size(),
                session.mazeCount(), micros.size());
    std::printf("bench: median_us=%.1f p99_us=%.1f fps=%.0f mpix_s=%.0f\n", median, p99, fps, mpix);
    return 0;
}

const CommandRegistration registration("bench", kUsage, bench);

}  // namespace
