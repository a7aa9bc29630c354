// krvtool bench: the game frame's cost over a fixed set of views.
//
// The poses are the same every run: in every maze, the floor polygons (flat
// floors, in index order) are sampled evenly to give 80 views per maze, the
// eye 40 units above the polygon's centre (where walking puts it), turned
// by (k * 45 + k / 8 * 15) degrees for the k-th view, level. Every pose is
// drawn once to warm up, then all poses are drawn kPasses times, timing
// each frame of draw_game_frame (span reset, depth clear, background,
// maze and objects, present) on the headless backend.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "geometry/model.h"
#include "render/render_session.h"
#include "shell/game.h"

namespace {

constexpr const char* kUsage = "bench [DIR]";
constexpr int kViewsPerMaze = 80;
constexpr int kPasses = 5;
constexpr float kEyeHeight = 40.0f;

struct Pose {
    int maze = 0;
    Vec3 eye;
    int turn = 0;
};

std::vector<Pose> benchPoses(const RenderSession& session) {
    std::vector<Pose> poses;
    for (int maze = 0; maze < session.mazeCount(); ++maze) {
        const Model* model = game().world.mazeModel(maze);
        if (!model) continue;
        std::vector<int> floors;
        for (int p = 1; p <= model->polygonCount; ++p) {
            const Polygon& polygon = model->polygons[p];
            if (polygon.pointCount < 3) continue;
            if (model->faces[polygon.face].slopeClass == SlopeClass::FlatFloor) floors.push_back(p);
        }
        if (floors.empty()) continue;
        for (int k = 0; k < kViewsPerMaze; ++k) {
            const Polygon& polygon =
                model->polygons[floors[k * floors.size() / kViewsPerMaze]];
            Vec3 centre;
            for (int i = 1; i <= polygon.pointCount; ++i) {
                centre.addInPlace(model->points[polygon.pointIndices[i]]);
            }
            const float n = static_cast<float>(polygon.pointCount);
            poses.push_back({maze,
                             {centre.x / n, centre.y / n + kEyeHeight, centre.z / n},
                             (k * 45 + k / 8 * 15) % 360});
        }
    }
    return poses;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

int bench(std::span<char*> args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: krvtool %s\n", kUsage);
        return 2;
    }
    RenderSession session(args.empty() ? std::string() : std::string(args[0]));
    const std::vector<Pose> poses = benchPoses(session);
    if (poses.empty()) {
        std::fprintf(stderr, "krvtool bench: no maze with floors to look at\n");
        return 1;
    }
    for (const Pose& pose : poses) {
        session.placeView(pose.maze, pose.eye, pose.turn, 0);
        session.drawFrame();
    }
    std::vector<double> micros;
    micros.reserve(poses.size() * kPasses);
    for (int pass = 0; pass < kPasses; ++pass) {
        for (const Pose& pose : poses) {
            session.placeView(pose.maze, pose.eye, pose.turn, 0);
            const auto start = std::chrono::steady_clock::now();
            session.drawFrame();
            const auto end = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
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
