#include "render_scenes.h"

#include "geometry/trig.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "framework/files.h"

namespace {

float distance(const Vec3& a, const Vec3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void writeVec(std::ostringstream& out, const Vec3& v) {
    out << v.x << ", " << v.y << ", " << v.z << "\n";
}

}  // namespace

int SceneModel::addQuad(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d,
                        const Vec3& normal, int kind, int colour) {
    Quad quad;
    const Vec3 corners[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        points.push_back(corners[i]);
        quad.points[i] = static_cast<int>(points.size());
    }
    quad.normal = normal;
    quad.kind = kind;
    quad.colour = colour;
    quads.push_back(quad);
    return static_cast<int>(quads.size());
}

int SceneModel::addNode(const Node& node) {
    nodes.push_back(node);
    return static_cast<int>(nodes.size());
}

std::string SceneModel::text() const {
    std::ostringstream out;
    out << "#numberOfPoints\n" << points.size() << "\n#numberOfPolygons\n" << quads.size()
        << "\n#numberOfFaces\n" << quads.size() << "\n#numberOfBspNodes\n" << nodes.size() << "\n";
    out << "#vertices\n";
    for (const Vec3& p : points) writeVec(out, p);
    out << "\n#polygons\n";
    for (const Quad& q : quads) {
        out << q.points[0] << ", " << q.points[1] << ", " << q.points[2] << ", " << q.points[3]
            << "\n";
    }
    out << "\n#faces\n";
    for (std::size_t i = 1; i <= quads.size(); ++i) out << i << "\n";
    out << "\n#facenormals\n";
    for (const Quad& q : quads) writeVec(out, q.normal);
    out << "\n#textures\n";
    for (const Quad& q : quads) {
        if (q.kind >= 3) out << "256, 256, t" << q.colour << ", t" << q.colour << ".bmp\n";
    }
    out << "\n#faceproperties\n";
    for (const Quad& q : quads) {
        if (q.kind >= 3) {
            out << q.kind << ", t" << q.colour << "\n";
        } else {
            out << q.kind << ", " << q.colour << "\n";
        }
    }
    out << "\n#correspondences\n";
    for (const Quad& q : quads) {
        if (q.kind < 3) continue;
        const Vec3& a = points[q.points[0] - 1];
        const Vec3& b = points[q.points[1] - 1];
        const Vec3& d = points[q.points[3] - 1];
        out << "block\n";
        writeVec(out, a);
        writeVec(out, b);
        writeVec(out, d);
        writeVec(out, Vec3{0, 0, 0});
        writeVec(out, Vec3{distance(a, b) / 64.0f, 0, 0});
        writeVec(out, Vec3{0, distance(a, d) / 64.0f, 0});
    }
    out << "\n#bsptree\n";
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Node& n = nodes[i];
        out << i + 1 << ": polygon " << n.polygon << " frontlist " << n.frontlist << " backlist "
            << n.backlist << " fronttree " << n.fronttree << " backtree " << n.backtree << "\n";
    }
    out << "\n#pointnormals\n";
    for (std::size_t i = 0; i < points.size(); ++i) out << "0, 1, 0\n";
    out << "#eof\n";
    return out.str();
}

SceneModel roomWithPanel() {
    SceneModel m;
    const float x0 = -200, x1 = 200, y1 = 200, z0 = -200, z1 = 200;
    const Vec3 up{0, 1, 0}, down{0, -1, 0}, east{1, 0, 0}, west{-1, 0, 0};
    const Vec3 north{0, 0, 1}, south{0, 0, -1};
    // Front half, z 0..200.
    const int floorF = m.addQuad({x0, 0, 0}, {x1, 0, 0}, {x1, 0, z1}, {x0, 0, z1}, up, 0, 1);
    const int ceilF = m.addQuad({x0, y1, 0}, {x1, y1, 0}, {x1, y1, z1}, {x0, y1, z1}, down, 0, 2);
    const int leftF = m.addQuad({x0, 0, 0}, {x0, 0, z1}, {x0, y1, z1}, {x0, y1, 0}, east, 3, 3);
    const int rightF = m.addQuad({x1, 0, z1}, {x1, 0, 0}, {x1, y1, 0}, {x1, y1, z1}, west, 3, 4);
    const int farWall = m.addQuad({x0, 0, z1}, {x1, 0, z1}, {x1, y1, z1}, {x0, y1, z1}, south, 3, 5);
    // Back half, z -200..0.
    const int floorB = m.addQuad({x0, 0, z0}, {x1, 0, z0}, {x1, 0, 0}, {x0, 0, 0}, up, 0, 6);
    const int ceilB = m.addQuad({x0, y1, z0}, {x1, y1, z0}, {x1, y1, 0}, {x0, y1, 0}, down, 0, 7);
    const int leftB = m.addQuad({x0, 0, z0}, {x0, 0, 0}, {x0, y1, 0}, {x0, y1, z0}, east, 3, 8);
    const int rightB = m.addQuad({x1, 0, 0}, {x1, 0, z0}, {x1, y1, z0}, {x1, y1, 0}, west, 3, 9);
    const int nearWall = m.addQuad({x0, 0, z0}, {x1, 0, z0}, {x1, y1, z0}, {x0, y1, z0}, north, 3, 10);
    // The panel, both sides in the plane z = 0.
    const int panelPos = m.addQuad({-60, 0, 0}, {60, 0, 0}, {60, 120, 0}, {-60, 120, 0}, north, 3, 11);
    const int panelNeg = m.addQuad({60, 0, 0}, {-60, 0, 0}, {-60, 120, 0}, {60, 120, 0}, south, 3, 12);

    // Root: the panel's plane; each half is a convex box seen from inside,
    // so a chain of front subtrees orders it.
    m.addNode({panelPos, -1, 2, 3, 8});
    m.addNode({panelNeg, -1, -1, -1, -1});
    const int front[] = {floorF, ceilF, leftF, rightF, farWall};
    for (int i = 0; i < 5; ++i) m.addNode({front[i], -1, -1, i < 4 ? 4 + i : -1, -1});
    const int back[] = {floorB, ceilB, leftB, rightB, nearWall};
    for (int i = 0; i < 5; ++i) m.addNode({back[i], -1, -1, i < 4 ? 9 + i : -1, -1});
    return m;
}

SceneModel cube() {
    SceneModel m;
    const float h = 20;
    m.addQuad({h, -h, -h}, {h, -h, h}, {h, h, h}, {h, h, -h}, {1, 0, 0}, 0, 20);
    m.addQuad({-h, -h, h}, {-h, -h, -h}, {-h, h, -h}, {-h, h, h}, {-1, 0, 0}, 0, 21);
    m.addQuad({-h, h, -h}, {h, h, -h}, {h, h, h}, {-h, h, h}, {0, 1, 0}, 0, 22);
    m.addQuad({-h, -h, h}, {h, -h, h}, {h, -h, -h}, {-h, -h, -h}, {0, -1, 0}, 0, 23);
    m.addQuad({-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h}, {0, 0, -1}, 0, 24);
    m.addQuad({h, -h, h}, {-h, -h, h}, {-h, h, h}, {h, h, h}, {0, 0, 1}, 3, 25);
    // A convex solid seen from outside: every other face lies behind each
    // face's plane, so a chain of back subtrees orders it.
    for (int i = 1; i <= 6; ++i) m.addNode({i, -1, -1, -1, i < 6 ? i + 1 : -1});
    return m;
}

const GfxBitmap* SceneTextures::make(std::vector<std::uint8_t> pixels) {
    auto owned = std::make_unique<Owned>();
    owned->pixels = std::move(pixels);
    owned->bitmap.width = kTextureSize;
    owned->bitmap.height = kTextureSize;
    owned->bitmap.bitsPerPixel = 8;
    owned->bitmap.bytesPerLine = kTextureSize;
    owned->bitmap.pixels = owned->pixels.data();
    owned_.push_back(std::move(owned));
    return &owned_.back()->bitmap;
}

const GfxBitmap* SceneTextures::uniform(int value) {
    return make(std::vector<std::uint8_t>(kTextureSize * kTextureSize,
                                          static_cast<std::uint8_t>(value)));
}

const GfxBitmap* SceneTextures::checker() {
    std::vector<std::uint8_t> pixels(kTextureSize * kTextureSize);
    for (int v = 0; v < kTextureSize; ++v) {
        for (int u = 0; u < kTextureSize; ++u) {
            pixels[v * kTextureSize + u] = static_cast<std::uint8_t>(((u / 8 + v / 8) & 1) + 1);
        }
    }
    return make(std::move(pixels));
}

SceneFolder::SceneFolder() {
    static int serial = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("krv_render_test_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
    std::filesystem::create_directories(root_ / "Objects");
    previousRoot_ = fw_data_root();
    fw_set_data_root(root_.string());
}

SceneFolder::~SceneFolder() {
    fw_set_data_root(previousRoot_);
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

std::unique_ptr<Model> SceneFolder::load(const std::string& name, const SceneModel& scene,
                                         SceneTextures& textures) {
    {
        std::ofstream out(root_ / "Objects" / name, std::ios::binary);
        out << scene.text();
    }
    auto model = std::make_unique<Model>("Objects\\" + name, list_, -1, Vec3{});
    for (int f = 1; f <= model->faceCount; ++f) {
        Face& face = model->faces[f];
        const SceneModel::Quad& quad = scene.quads[f - 1];
        if (face.textured()) face.bitmap = textures.uniform(quad.colour);
    }
    return model;
}

Camera cameraAt(const Vec3& eye, int turn, int look) {
    Camera camera;
    camera.orientation.set(1, 0, 0, 0, -1.6f, 0, 0, 0, -1);
    // Poses add turns freely; the tables hold -359..359 only.
    camera.orientation.rotateY(wrapDegrees(turn));
    camera.orientation.rotateX(wrapDegrees(look));
    camera.position = eye;
    return camera;
}

namespace {

struct RefVertex {
    double x, y, z, u, v;
};

}  // namespace

void ReferenceImage::draw(const Model& model, const Camera& camera, const Matrix3& orientation,
                          const Vec3& position) {
    Vec3 eyeOffset;
    camera.position.subtract(position, eyeOffset);
    Vec3 eye;
    eyeOffset.transform(orientation, eye);
    const ModelToCamera toCamera = modelToCamera(camera, orientation, position);

    for (int p = 1; p <= model.polygonCount; ++p) {
        const Polygon& polygon = model.polygons[p];
        const Face& face = model.faces[polygon.face];
        if (!eyeInFront(model.points[polygon.pointIndices[1]], face.normal, eye)) continue;
        if (face.textured() && !face.bitmap) continue;

        std::vector<RefVertex> in;
        for (int k = 1; k <= polygon.pointCount; ++k) {
            const Vec3& pt = model.points[polygon.pointIndices[k]];
            const float* m = toCamera.rotation.m;
            RefVertex v;
            v.x = double(pt.x) * m[0] + double(pt.y) * m[3] + double(pt.z) * m[6] + toCamera.offset.x;
            v.y = double(pt.x) * m[1] + double(pt.y) * m[4] + double(pt.z) * m[7] + toCamera.offset.y;
            v.z = double(pt.x) * m[2] + double(pt.y) * m[5] + double(pt.z) * m[8] + toCamera.offset.z;
            v.u = polygon.texCoords[k].x;
            v.v = polygon.texCoords[k].y;
            in.push_back(v);
        }
        // Near plane only; the view rectangle bounds the pixels instead of
        // the side planes.
        std::vector<RefVertex> clipped;
        for (std::size_t j = 0; j < in.size(); ++j) {
            const RefVertex& a = in[(j + in.size() - 1) % in.size()];
            const RefVertex& b = in[j];
            const bool aIn = a.z > 0.01, bIn = b.z > 0.01;
            if (aIn != bIn) {
                const double t = (a.z - 0.01) / (a.z - b.z);
                clipped.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, 0.01,
                                   a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t});
            }
            if (bIn) clipped.push_back(b);
        }
        if (clipped.size() < 3) continue;
        struct Screen {
            double x, y, w, uw, vw;
        };
        std::vector<Screen> s;
        for (const RefVertex& v : clipped) {
            const double w = 1.0 / v.z;
            s.push_back({320.0 + 310.0 * v.x * w, 205.0 + 195.0 * v.y * w, w, v.u * w, v.v * w});
        }
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
            const Screen& a = s[0];
            const Screen& b = s[i];
            const Screen& c = s[i + 1];
            const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
            if (area == 0.0) continue;
            const int left = std::max(10, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
            const int right = std::min(629, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
            const int top = std::max(10, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
            const int bottom = std::min(399, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
            for (int py = top; py <= bottom; ++py) {
                for (int px = left; px <= right; ++px) {
                    const double sx = px + 0.5, sy = py + 0.5;
                    const double la = ((b.x - sx) * (c.y - sy) - (b.y - sy) * (c.x - sx)) / area;
                    const double lb = ((c.x - sx) * (a.y - sy) - (c.y - sy) * (a.x - sx)) / area;
                    const double lc = 1.0 - la - lb;
                    if (la < 0 || lb < 0 || lc < 0) continue;
                    const double w = la * a.w + lb * b.w + lc * c.w;
                    const int at = py * kScreenWidth + px;
                    if (!(w > depth[at])) continue;
                    depth[at] = w;
                    if (!face.textured()) {
                        pixels[at] = static_cast<std::uint8_t>(face.colour);
                    } else {
                        const double u = (la * a.uw + lb * b.uw + lc * c.uw) / w;
                        const double v = (la * a.vw + lb * b.vw + lc * c.vw) / w;
                        const int tu = static_cast<int>(std::floor(u)) & 255;
                        const int tv = static_cast<int>(std::floor(v)) & 255;
                        pixels[at] = face.bitmap->pixels[tv * kTextureSize + tu];
                    }
                }
            }
        }
    }
}

ImageDifference compareWithReference(const std::uint8_t* fast, const ReferenceImage& reference) {
    ImageDifference d;
    const auto& ref = reference.pixels;
    for (int y = 10; y <= 399; ++y) {
        for (int x = 10; x <= 629; ++x) {
            const int at = y * kScreenWidth + x;
            if (fast[at] == ref[at]) continue;
            ++d.differing;
            bool nearEdge = false;
            for (int dy = -2; dy <= 2 && !nearEdge; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= kScreenWidth || ny >= kScreenHeight) continue;
                    if (ref[ny * kScreenWidth + nx] != ref[at]) {
                        nearEdge = true;
                        break;
                    }
                }
            }
            if (!nearEdge) ++d.awayFromEdges;
        }
    }
    return d;
}
