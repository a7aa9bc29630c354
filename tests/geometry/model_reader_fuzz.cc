// libFuzzer target for the object file reader (built by cmake/fuzz.cmake
// with clang, AddressSanitizer and UndefinedBehaviorSanitizer; the .cc name
// keeps it out of the unit-test program).
//
// The reader runs in check mode, where a singular texture mapping fails the
// load instead of ending the program, and without a collision grid: the
// grid has fatal limits of its own. Anything that ends the program here is
// a fault of the reader.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/framework.h"
#include "framework/gfx_errors.h"
#include "geometry/collision_grid.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"

[[noreturn]] void gfx_fatal_error(std::string_view text) {
    std::fprintf(stderr, "fatal error while loading: %.*s\n", static_cast<int>(text.size()),
                 text.data());
    std::abort();
}
int gfx_bitmap_info(std::string_view) { return 0; }
GfxBitmap* gfx_load_bitmap(std::string_view, int) { return nullptr; }
std::string gfx_bitmap_problem() { return {}; }
void gfx_free_bitmap(GfxBitmap*) {}
std::optional<GridOverflow> buildCollisionGrid(Model&, std::int32_t) { std::abort(); }
long long collisionGridCells(const Model&, std::int32_t) { std::abort(); }

namespace {
std::string inputPath;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    buildTrigTables();
    const char* folder = std::getenv("TMPDIR");
    inputPath = std::string(folder && *folder ? folder : "/tmp") + "/krv_fuzz_" +
                std::to_string(::getpid()) + ".krv";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);

    TextureList textures;
    Model model(inputPath, textures, -1, Vec3{}, ModelLoadMode::Check);
    if (model.loaded) {
        // What the renderer relies on without checking.
        int visited = 0;
        if (model.nodeCount > 0) {
            walkDrawOrder(model, 1, Vec3{1.5f, 2.5f, 3.5f}, [&](std::int32_t polygon) {
                if (polygon < 1 || polygon > model.polygonCount) std::abort();
                ++visited;
            });
        }
        (void)visited;
    } else if (model.nodeCount != 0 || model.collisionGrid) {
        std::abort();
    }
    return 0;
}
