// Clipping on the planes, the perspective blocks, texture wrap and the
// pixel rules of the three rasterizers.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "geometry/texture_list.h"
#include "render/render.h"

namespace {

// Camera-space points as a model's viewPoints (index 0 unused).
struct Points {
    std::vector<Vec3> view{Vec3{}};
    int add(float x, float y, float z) {
        view.push_back({x, y, z});
        return static_cast<int>(view.size()) - 1;
    }
};

struct PolygonInput {
    std::vector<std::int32_t> indices{0};
    std::vector<Vec3> tex{Vec3{}};
    void add(int index, float u = 0, float v = 0) {
        indices.push_back(index);
        tex.push_back({u, v, 1});
    }
    ClipInput input() const {
        return {static_cast<std::int32_t>(indices.size()) - 1, 1, indices.data(), tex.data(),
                nullptr};
    }
};

ScreenVertex vertex(int x, int y, float w = 0.01f, float u = 0, float v = 0) {
    ScreenVertex s;
    s.x = x;
    s.y = y;
    s.w = w;
    s.uw = u * w;
    s.vw = v * w;
    return s;
}

class RasterTest : public ::testing::Test {
protected:
    RasterTest() : page(kScreenPixels, 0) { renderer.beginFrame(page.data()); }
    int at(int x, int y) const { return page[y * kScreenWidth + x]; }
    int countValue(int value) const {
        int n = 0;
        for (std::uint8_t p : page) n += p == value;
        return n;
    }
    std::vector<std::uint8_t> page;
    Renderer renderer;
};

std::vector<std::uint8_t> uniformTexture(int value) {
    return std::vector<std::uint8_t>(kTextureSize * kTextureSize, static_cast<std::uint8_t>(value));
}

}  // namespace

TEST(Clipping, AllInsideTrianglePassesUnchanged) {
    Points points;
    PolygonInput tri;
    tri.add(points.add(0, 0, 10), 1, 2);
    tri.add(points.add(1, 0, 10), 3, 4);
    tri.add(points.add(0, 1, 10), 5, 6);
    ClipScratch scratch;
    const ClipPolygon& out = scratch.clipToFrustum(tri.input(), points.view);
    ASSERT_EQ(out.count, 3);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(out.pointIndices[k], tri.indices[k]);
        EXPECT_EQ(out.fromPool[k], 0);
        EXPECT_EQ(out.texCoords[k], tri.tex[k]);
    }
    EXPECT_EQ(scratch.pool.count, 0);
}

TEST(Clipping, VertexOnASidePlaneCountsAsOutside) {
    Points points;
    const Vec3 on{5, 0, 5};  // x = z: on plane 2
    EXPECT_FALSE(insidePlane(on, 2));
    PolygonInput in;
    in.add(points.add(on.x, on.y, on.z), 0, 0);
    in.add(points.add(0, 0, 5), 10, 0);
    in.add(points.add(0, 1, 5), 10, 10);
    ClipVertexPool pool;
    ClipPolygon out;
    ASSERT_TRUE(clipToPlane(in.input(), points.view, pool, out, 2));
    // The vertex on the plane is dropped and a pool point made where it was.
    ASSERT_EQ(out.count, 4);
    EXPECT_EQ(pool.count, 2);
    int poolAtVertex = 0;
    for (int k = 1; k <= out.count; ++k) {
        if (out.fromPool[k] && pool.points[out.pointIndices[k]] == on) ++poolAtVertex;
        EXPECT_FALSE(!out.fromPool[k] && out.pointIndices[k] == in.indices[1]);
    }
    EXPECT_EQ(poolAtVertex, 2);
}

TEST(Clipping, NearAndFarPlanes) {
    Points points;
    PolygonInput far;
    far.add(points.add(0, 0, 3001));
    far.add(points.add(1, 0, 3001));
    far.add(points.add(0, 1, 3002));
    ClipScratch scratch;
    EXPECT_EQ(scratch.clipToFrustum(far.input(), points.view).count, 0);

    PolygonInput crossing;
    crossing.add(points.add(0, 0, -5), 0, 0);
    crossing.add(points.add(0, 0, 5), 10, 0);
    crossing.add(points.add(0.5f, 0.5f, 5), 10, 10);
    const ClipPolygon& cut = scratch.clipToFrustum(crossing.input(), points.view);
    ASSERT_GE(cut.count, 3);
    for (int k = 1; k <= cut.count; ++k) {
        const Vec3& p = cut.fromPool[k] ? scratch.pool.points[cut.pointIndices[k]]
                                        : points.view[cut.pointIndices[k]];
        EXPECT_GE(p.z, kNearZ * 0.999f);
    }
}

TEST(Clipping, PolygonTooBigForTheScratchIsDroppedSafely) {
    // 120 vertices on a circle, all inside: the first pass would need 120 of
    // the 99 places.
    Points points;
    PolygonInput big;
    for (int i = 0; i < 120; ++i) {
        const float a = 6.2831853f * static_cast<float>(i) / 120.0f;
        big.add(points.add(std::cos(a), std::sin(a), 10));
    }
    ClipScratch scratch;
    EXPECT_EQ(scratch.clipToFrustum(big.input(), points.view).count, 0);

    // 98 vertices whose ring crosses a side plane: more pool points or
    // vertices than fit are refused the same way, never written past.
    Points zigzag;
    PolygonInput saw;
    for (int i = 0; i < 98; ++i) saw.add(zigzag.add(i % 2 ? 20.0f : -0.5f, 0.01f * i, 10));
    const ClipPolygon& out = scratch.clipToFrustum(saw.input(), zigzag.view);
    EXPECT_LE(out.count, kClipMaxVertices);
    EXPECT_LE(scratch.pool.count, kClipMaxVertices);
}

// clipToFrustum skips the passes that cannot change the polygon; the six
// passes run one after another must give the same vertices, in the same
// order, with the same flags and pool points.
TEST(Clipping, SkippedPassesGiveWhatAllSixPassesGive) {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> across(-40.0f, 40.0f);
    std::uniform_real_distribution<float> depth(-5.0f, 60.0f);
    for (int trial = 0; trial < 2000; ++trial) {
        Points points;
        PolygonInput polygon;
        const int n = 3 + trial % 5;
        // Some polygons far off to one side, some around the view.
        const float shift = trial % 3 == 0 ? 200.0f : 0.0f;
        for (int k = 0; k < n; ++k) {
            polygon.add(points.add(across(random) + shift, across(random), depth(random)),
                        across(random), across(random));
        }
        ClipScratch fast;
        const ClipPolygon& got = fast.clipToFrustum(polygon.input(), points.view);

        ClipScratch slow;
        ClipPolygon* from = &slow.a;
        ClipPolygon* to = &slow.b;
        ASSERT_TRUE(clipToPlane(polygon.input(), points.view, slow.pool, slow.a, 0));
        for (int plane = 1; plane < kFrustumPlanes; ++plane) {
            ASSERT_TRUE(clipToPlane(ClipInput::of(*from), points.view, slow.pool, *to, plane));
            std::swap(from, to);
        }
        const ClipPolygon& want = *from;
        ASSERT_EQ(got.count, want.count) << "trial " << trial;
        for (int k = 1; k <= want.count; ++k) {
            ASSERT_EQ(got.fromPool[k], want.fromPool[k]);
            ASSERT_EQ(got.pointIndices[k], want.pointIndices[k]);
            ASSERT_EQ(got.texCoords[k], want.texCoords[k]);
            if (want.fromPool[k]) {
                ASSERT_EQ(fast.pool.points[got.pointIndices[k]], slow.pool.points[want.pointIndices[k]]);
            }
        }
    }
}

TEST(TextureSpan, CoordinatesWrapEvery256TexelsBothWays) {
    std::vector<std::uint8_t> texture(kTextureSize * kTextureSize);
    for (int i = 0; i < kTextureSize * kTextureSize; ++i) texture[i] = static_cast<std::uint8_t>(i * 7);
    const auto fixed = [](int texel) { return static_cast<std::uint32_t>(texel * 65536); };
    EXPECT_EQ(texelAt(texture.data(), fixed(256 + 3), fixed(5)), texelAt(texture.data(), fixed(3), fixed(5)));
    EXPECT_EQ(texelAt(texture.data(), fixed(3), fixed(512 + 5)), texelAt(texture.data(), fixed(3), fixed(5)));
    EXPECT_EQ(texelAt(texture.data(), fixed(-1), fixed(-2)), texture[254 * 256 + 255]);
}

// A run of 20 pixels is a block of 16 and a block of 4; each block starts
// from the exact perspective value and steps by 1/16 of the 16-pixel
// difference, the short block too.
TEST(TextureSpan, BlocksOfSixteenThenFour) {
    std::vector<std::uint8_t> texture(kTextureSize * kTextureSize);
    for (int u = 0; u < kTextureSize; ++u) texture[u] = static_cast<std::uint8_t>(u);
    LineGradients g;
    g.w = 0.01f;
    g.dw = 0.0004f;  // strongly perspective
    g.uw = 2.0f * g.w;
    g.duw = 0.15f * g.w;
    std::vector<int> texels;
    std::vector<float> depths;
    mapTextureRun(texture.data(), g, 0, 20, [&](int i, std::uint8_t t, float d) {
        EXPECT_EQ(i, static_cast<int>(texels.size()));
        texels.push_back(t);
        depths.push_back(d);
    });
    ASSERT_EQ(texels.size(), 20u);

    const auto exact = [&](int pixel) {
        const float u = g.uw + 16.0f * g.duw * static_cast<float>(pixel / 16);
        const float w = g.w + 16.0f * g.dw * static_cast<float>(pixel / 16);
        return static_cast<std::int32_t>(std::lrint(65536.0f * (1.0f / w) * u));
    };
    std::int32_t blockStart[3] = {exact(0), exact(16), exact(32)};
    for (int i = 0; i < 20; ++i) {
        const int b = i / 16;
        const std::int32_t step = (blockStart[b + 1] - blockStart[b]) >> 4;
        const std::int32_t u = blockStart[b] + step * (i % 16);
        EXPECT_EQ(texels[i], (u >> 16) & 255) << "pixel " << i;
    }
    // Depth is linear over the whole run, stepped pixel by pixel.
    float d = g.w;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(depths[i], d);
        d += g.dw;
    }
}

TEST_F(RasterTest, TrianglesWithoutAreaOrHeightDrawNothing) {
    const std::vector<std::uint8_t> texture = uniformTexture(9);
    const ScreenVertex a = vertex(100, 50), b = vertex(200, 50), c = vertex(300, 50);
    rasterizeFlat(renderer, a, b, c, 9);
    const ScreenVertex d = vertex(100, 50), e = vertex(150, 100), f = vertex(200, 150);
    rasterizeDepthTested(renderer, d, e, f, texture.data());
    rasterizeSpanBuffered(renderer, d, e, f, texture.data());
    EXPECT_EQ(countValue(9), 0);
}

TEST_F(RasterTest, FlatTopAndFlatBottomTrianglesCoverTheirRows) {
    // Flat top: starts straight on middle -> bottom; rows 50..99.
    rasterizeFlat(renderer, vertex(100, 50), vertex(200, 50), vertex(150, 100), 3);
    EXPECT_EQ(at(100, 50), 3);
    EXPECT_EQ(at(199, 50), 3);
    EXPECT_EQ(at(200, 50), 0);
    EXPECT_EQ(at(150, 99), 3);
    EXPECT_EQ(at(150, 100), 0);  // the bottom vertex's row is not drawn
    // Flat bottom: ends when middle -> bottom has no height; rows 200..249.
    rasterizeFlat(renderer, vertex(150, 200), vertex(100, 250), vertex(200, 250), 4);
    EXPECT_EQ(at(150, 200), 0);  // a single point: xe - xs = 0
    EXPECT_EQ(at(150, 249), 4);
    EXPECT_EQ(at(150, 250), 0);
}

TEST_F(RasterTest, ObjectLinesNeedTwoPixelsMazeLinesOne) {
    const std::vector<std::uint8_t> texture = uniformTexture(5);
    // A thin sliver: its lines are at most a couple of pixels wide.
    rasterizeDepthTested(renderer, vertex(100, 100), vertex(101, 150), vertex(100, 200),
                         texture.data());
    EXPECT_EQ(countValue(5), 0);  // every line has xe - xs <= 1
    rasterizeSpanBuffered(renderer, vertex(300, 100), vertex(301, 150), vertex(300, 200),
                          texture.data());
    // Lines with xe = xs + 1 paint both pixels (the closed segment).
    EXPECT_GT(countValue(5), 0);
    EXPECT_EQ(at(300, 150), 5);
}

TEST_F(RasterTest, DepthTestIsStrict) {
    const std::vector<std::uint8_t> texture = uniformTexture(7);
    const float w = 0.02f;
    renderer.depthBuffer.markWritten({0, 0, kScreenWidth - 1, kScreenHeight - 1});
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) renderer.depthBuffer.row(y)[x] = x < 320 ? w : w * 0.5f;
    }
    rasterizeDepthTested(renderer, vertex(200, 100, w), vertex(450, 150, w), vertex(200, 200, w),
                         texture.data());
    EXPECT_EQ(at(250, 150), 0);  // equal 1/z: the earlier surface stays
    EXPECT_EQ(at(400, 150), 7);  // nearer: drawn, and its depth stored
    EXPECT_EQ(renderer.depthBuffer.at(400, 150), w);
    rasterizeFlat(renderer, vertex(200, 100, w), vertex(450, 150, w), vertex(200, 200, w), 8);
    EXPECT_EQ(at(250, 150), 0);
    EXPECT_EQ(at(400, 150), 7);
}

// A colour face of the maze is depth-tested and leaves the span buffer as
// it was, so a textured maze face behind it, drawn later, paints over it.
TEST_F(RasterTest, ColourMazeFaceDoesNotMarkTheSpanBuffer) {
    const std::vector<std::uint8_t> texture = uniformTexture(6);
    rasterizeFlat(renderer, vertex(100, 100, 0.05f), vertex(300, 150, 0.05f),
                  vertex(100, 200, 0.05f), 2);
    EXPECT_EQ(at(150, 150), 2);
    EXPECT_EQ(renderer.spanBuffer.line(150).head, 0);
    EXPECT_EQ(renderer.spanBuffer.line(150).spans[0].first, kViewLeft);
    rasterizeSpanBuffered(renderer, vertex(50, 50, 0.01f), vertex(400, 150, 0.01f),
                          vertex(50, 250, 0.01f), texture.data());
    EXPECT_EQ(at(150, 150), 6);
    EXPECT_FLOAT_EQ(renderer.depthBuffer.at(150, 150), 0.01f);
    // Painted maze pixels are taken from the line.
    const SpanLine& line = renderer.spanBuffer.line(150);
    for (int i = line.head; i != -1; i = line.spans[i].next) {
        EXPECT_FALSE(line.spans[i].first <= 150 && 150 <= line.spans[i].last);
    }
}

TEST_F(RasterTest, MazePixelsArePaintedOnce) {
    const std::vector<std::uint8_t> near = uniformTexture(1), far = uniformTexture(2);
    rasterizeSpanBuffered(renderer, vertex(100, 100, 0.01f), vertex(300, 150, 0.01f),
                          vertex(100, 200, 0.01f), near.data());
    // Drawn later (farther in a front-to-back walk): only free pixels change.
    rasterizeSpanBuffered(renderer, vertex(50, 50, 0.5f), vertex(400, 150, 0.5f),
                          vertex(50, 250, 0.5f), far.data());
    EXPECT_EQ(at(150, 150), 1);
    EXPECT_EQ(renderer.depthBuffer.at(150, 150), 0.01f);
    EXPECT_EQ(at(350, 150), 2);
}

namespace {

// A polygon through the maze path of the renderer: clipped, projected and
// drawn as a fan into the span buffer.
void drawMazePolygon(Renderer& r, const PolygonInput& polygon, std::span<const Vec3> view,
                     const std::uint8_t* texture) {
    const ClipPolygon& clipped = r.clip.clipToFrustum(polygon.input(), view);
    ScreenVertex vertices[kClipCapacity];
    for (int i = 1; i <= clipped.count; ++i) {
        const int index = clipped.pointIndices[i];
        const Vec3& p = clipped.fromPool[i] ? r.clip.pool.points[index] : view[index];
        vertices[i] = makeScreenVertex(projectPoint(p), clipped.texCoords[i]);
    }
    for (int i = 1; i <= clipped.count - 2; ++i) {
        const auto [t0, t1, t2] = fanTriangle(vertices, i);
        rasterizeSpanBuffered(r, *t0, *t1, *t2, texture);
    }
}

// Rows 10 to 399 of the view.
int freePixels(const SpanBuffer& spans) {
    int n = 0;
    for (int y = 10; y <= 399; ++y) {
        const SpanLine& line = spans.line(y);
        for (int i = line.head; i != -1; i = line.spans[i].next) {
            n += line.spans[i].last - line.spans[i].first + 1;
        }
    }
    return n;
}

}  // namespace

// Free runs with painted pixels on both sides: where one plane's polygons
// are drawn the free part of a line touches the view's left or right end.
int enclosedFreePixels(const SpanBuffer& spans) {
    int n = 0;
    for (int y = 10; y <= 399; ++y) {
        const SpanLine& line = spans.line(y);
        for (int i = line.head; i != -1; i = line.spans[i].next) {
            if (line.spans[i].first > kViewLeft && line.spans[i].last < kViewRight) {
                n += line.spans[i].last - line.spans[i].first + 1;
            }
        }
    }
    return n;
}

// Quads split along the diagonal a-c, which the two triangles walk in
// opposite directions. A wall larger than the view must paint all of it,
// its last row and column included (the diagonal leaves through the side
// planes); a floor running from behind the eye (the diagonal crosses the
// near plane) may leave only the sky, never a crack along the diagonal.
TEST(Clipping, TrianglesSharingAClippedEdgeLeaveNoCrack) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-0.3f, 0.3f);
    const std::vector<std::uint8_t> texture = uniformTexture(3);
    std::vector<std::uint8_t> page(kScreenPixels, 0);
    int cracked = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const bool wall = trial % 2 == 0;
        Renderer renderer;
        renderer.beginFrame(page.data());
        Points points;
        const float z = 50.0f + 40.0f * spread(random);
        const float tiltX = spread(random), tiltY = spread(random);
        const float floorY = 20.0f + 30.0f * spread(random);
        const auto corner = [&](float x, float y) {
            x += 20.0f * spread(random);
            y += 20.0f * spread(random);
            // A floor's second coordinate runs along the line of sight.
            return wall ? points.add(x, y, z + tiltX * x + tiltY * y)
                        : points.add(x, floorY + tiltX * x + 0.1f * tiltY * y, y + 100.0f);
        };
        const int a = corner(-150, -150), b = corner(150, -150);
        const int c = corner(150, 150), d = corner(-150, 150);
        PolygonInput first, second;
        first.add(a, 0, 0), first.add(b, 9, 0), first.add(c, 9, 9);
        second.add(c, 9, 9), second.add(d, 0, 9), second.add(a, 0, 0);
        drawMazePolygon(renderer, first, points.view, texture.data());
        drawMazePolygon(renderer, second, points.view, texture.data());
        const int open = wall ? freePixels(renderer.spanBuffer)
                              : enclosedFreePixels(renderer.spanBuffer);
        if (open != 0 && ++cracked <= 3) {
            ADD_FAILURE() << (wall ? "wall" : "floor") << " trial " << trial << ": " << open
                          << " pixels of the view left unpainted";
        }
    }
    EXPECT_EQ(cracked, 0);
}

// The same edge walked either way crosses each plane at the same bits.
TEST(Clipping, ASharedEdgeCrossesAPlaneAtTheSamePointBothWays) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-30.0f, 30.0f);
    int differing = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const int plane = trial % kFrustumPlanes;
        Points points;
        const auto near = [&] {
            const float z = plane == 1 ? 2990.0f + coordinate(random) : coordinate(random);
            return points.add(coordinate(random), coordinate(random), z);
        };
        const int p = near(), q = near();
        if (insidePlane(points.view[p], plane) == insidePlane(points.view[q], plane)) continue;
        // Two-vertex polygons: the first crossing each pass makes is on the
        // wrap-around edge, walked q->p in one and p->q in the other.
        PolygonInput one, other;
        one.add(p, 1, 2), one.add(q, 3, 4);
        other.add(q, 3, 4), other.add(p, 1, 2);
        ClipScratch a, b;
        ClipPolygon outA, outB;
        ASSERT_TRUE(clipToPlane(one.input(), points.view, a.pool, outA, plane));
        ASSERT_TRUE(clipToPlane(other.input(), points.view, b.pool, outB, plane));
        if (!(a.pool.points[1] == b.pool.points[1]) || !(outA.texCoords[1] == outB.texCoords[1])) {
            ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
}
