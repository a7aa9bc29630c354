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
//
// --maze N keeps the views of maze N alone (0 to 2), so that a maze of an
// author's own, put in a copy of the game folder, is timed by itself.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "geometry/model.h"
#include "render/render_session.h"
#include "render/texture_run_painters.h"
#include "shell/game.h"

namespace {

constexpr const char* kUsage = "bench [DIR] [--compare] [--maze N]";
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
    int onlyMaze = -1;
    std::string dir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string text(args[i]);
        if (text == "--compare") {
            compare = true;
        } else if (text == "--maze" && i + 1 < args.size() &&
                   (std::string_view(args[i + 1]) == "0" || std::string_view(args[i + 1]) == "1" ||
                    std::string_view(args[i + 1]) == "2")) {
            onlyMaze = args[++i][0] - '0';
        } else if (dir.empty() && text.rfind("--", 0) != 0) {
            dir = text;
        } else {
            std::fprintf(stderr, "usage: krvtool %s\n", kUsage);
            return 2;
        }
    }
    RenderSession session(dir);
    std::vector<ViewPose> poses = floorPoses(session, kViewsPerMaze);
    if (onlyMaze >= 0) {
        std::erase_if(poses, [&](const ViewPose& pose) { return pose.maze != onlyMaze; });
    }
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
                onlyMaze >= 0 ? 1 : session.mazeCount(), micros.size());
    std::printf("bench: median_us=%.1f p99_us=%.1f fps=%.0f mpix_s=%.0f\n", median, p99, fps, mpix);
    return 0;
}

const CommandRegistration registration("bench", kUsage, bench);

}  // namespace
