#include "geometry/bsp_node.h"

void BspNode::setFromFile(std::int32_t newPolygon, std::int32_t newFrontlist,
                          std::int32_t newBacklist, std::int32_t newFronttree,
                          std::int32_t newBacktree, const Vec3& corner1, const Vec3& corner2,
                          std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    polygon = newPolygon;
    frontlist = newFrontlist;
    backlist = newBacklist;
    fronttree = newFronttree;
    backtree = newBacktree;
    bounds[0] = corner1;
    bounds[1] = corner2;
    plane[0] = a;
    plane[1] = b;
    plane[2] = c;
    plane[3] = d;
}
