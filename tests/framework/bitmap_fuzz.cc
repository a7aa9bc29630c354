// libFuzzer target for the BMP reader (cmake/fuzz/fuzzers.cmake). Besides
// not crashing or touching memory it does not own, the reader must give
// either a whole picture or a reason, and the header check alone must never
// refuse a file that decodes.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/bmp_reader.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    BmpImage image;
    const BmpProblem problem = decodeBmp(file, image);
    BmpLayout layout;
    const BmpProblem headerProblem =
        readBmpLayout(file.first(std::min(size, kBmpHeadBytes)), size, layout);
    if (problem) {
        require(problem.code < 0 && !problem.reason.empty());
        return 0;
    }
    require(!headerProblem);
    require(image.width >= 1 && image.height >= 1);
    require(image.width == layout.width && image.height == layout.height);
    require(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height);
    return 0;
}
