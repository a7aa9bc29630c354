// From compiler geometry to a checked model file's content.
#include "maze/model_compiler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "maze/bsp_builder.h"
#include "maze/model_check.h"
#include "maze/polygon_split.h"

void world_aligned_mapping(const Point3& normal, const Point3& onFace, double scale, ModelFace& face) {
    Point3 u;
    Point3 v;
    if (std::fabs(normal.y) > 0.7) {
        u = {1.0, 0.0, 0.0};
        v = {0.0, 0.0, 1.0};
        // Project the axes into the face's plane so the three points lie on it.
        u = normalized3(u - normal * dot3(u, normal));
        v = normalized3(cross3(normal, u));
        if (v.z < 0.0) v = v * -1.0;
    } else {
        const Point3 up{0.0, 1.0, 0.0};
        u = normalized3(cross3(up, normal));
        v = cross3(u, normal);  // points down the face
    }
    const double tu = dot3(onFace, u) / scale;
    const double tv = dot3(onFace, v) / scale;
    // Whole repetitions can be dropped: they leave the picture unchanged and
    // keep the file's numbers small.
    const double t0u = tu - std::floor(tu);
    const double t0v = tv - std::floor(tv);
    face.mapPoints[0] = onFace;
    face.mapPoints[1] = onFace + u * scale;
    face.mapPoints[2] = onFace + v * scale;
    face.mapCoords[0][0] = t0u;
    face.mapCoords[0][1] = t0v;
    face.mapCoords[1][0] = t0u + 1.0;
    face.mapCoords[1][1] = t0v;
    face.mapCoords[2][0] = t0u;
    face.mapCoords[2][1] = t0v + 1.0;
}

namespace {

// One face per surface and plane. A face whose `#faces` line is full goes on
// as a new face with the same normal, surface and mapping: the picture is
// the same, and the reader never cuts the line.
class FaceGrouper {
public:
    FaceGrouper(ModelData& model, CompileReport& report) : model_(model), report_(report) {}

    int faceFor(const Mesh& mesh, const MeshPolygon& polygon, int polygonIndex) {
        const Point3& n = polygon.normal;
        const double offset = dot3(n, mesh.points[polygon.points[0]]);
        const auto q = [](double v, double unit) { return static_cast<long long>(std::llround(v / unit)); };
        const Key key = std::make_tuple(polygon.surface, q(n.x, 1e-6), q(n.y, 1e-6), q(n.z, 1e-6), q(offset, 0.01));
        const std::size_t entry = std::to_string(polygonIndex + 1).size();
        auto found = faceOf_.find(key);
        if (found == faceOf_.end()) {
            ModelFace face;
            face.normal = n;
            face.surface = mesh.surfaces[polygon.surface];
            if (face.surface.textured()) {
                world_aligned_mapping(n, model_.points[polygon.points[0]], face.surface.scale, face);
            }
            found = faceOf_.emplace(key, addFace(std::move(face))).first;
        } else if (lineLength_[found->second] + 2 + entry > kMaxModelLine) {
            ModelFace next = model_.faces[found->second];
            next.polygons.clear();
            found->second = addFace(std::move(next));
            ++report_.facesAdded;
        }
        const int face = found->second;
        std::size_t& length = lineLength_[face];
        length += (length == 0 ? 0 : 2) + entry;
        model_.faces[face].polygons.push_back(polygonIndex);
        return face;
    }

private:
    using Key = std::tuple<int, long long, long long, long long, long long>;

    int addFace(ModelFace face) {
        model_.faces.push_back(std::move(face));
        lineLength_.push_back(0);
        return static_cast<int>(model_.faces.size()) - 1;
    }

    ModelData& model_;
    CompileReport& report_;
    std::map<Key, int> faceOf_;      // the face that takes the key's next polygon
    std::vector<std::size_t> lineLength_;  // of each face's `#faces` line so far
};

}  // namespace

bool compile_model(Mesh mesh, ModelData& model, CompileReport& report, std::string& error) {
    BspResult tree = build_bsp_tree(mesh);
    report.splits = tree.splits;
    report.tJunctionsFixed = fix_t_junctions(mesh);
    if (!split_long_polygons(mesh, tree.nodes, report.piecesCut)) {
        error = "a polygon too long for the game has no cut that leaves both pieces with area";
        return false;
    }

    model = ModelData{};
    for (const Point3& p : mesh.points) {
        // Store what the game will read: the nearest 32-bit floats.
        model.points.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }
    model.nodes = tree.nodes;

    FaceGrouper faces(model, report);
    for (std::size_t i = 0; i < mesh.polygons.size(); ++i) {
        const MeshPolygon& polygon = mesh.polygons[i];
        ModelPolygon out;
        out.points = polygon.points;
        out.face = faces.faceFor(mesh, polygon, static_cast<int>(i));
        out.part = polygon.part;
        model.polygons.push_back(std::move(out));
        report.mostVertices = std::max(report.mostVertices, static_cast<int>(polygon.points.size()));
    }
    for (const ModelFace& face : model.faces) {
        if (!face.surface.textured()) continue;
        const bool declared = std::any_of(model.textures.begin(), model.textures.end(),
                                          [&](const ModelTexture& t) { return t.name == face.surface.texture; });
        if (!declared) model.textures.push_back({face.surface.texture, face.surface.texture + ".bmp"});
    }

    report.points = static_cast<int>(model.points.size());
    report.polygons = static_cast<int>(model.polygons.size());
    report.faces = static_cast<int>(model.faces.size());
    report.nodes = static_cast<int>(model.nodes.size());

    std::vector<ModelProblem> problems = find_tree_problems(model);
    for (ModelProblem& crack : find_crack_problems(model)) problems.push_back(std::move(crack));
    if (report.mostVertices > kMaxPolygonVertices) {
        problems.push_back({"a polygon has " + std::to_string(report.mostVertices) + " vertices", {}});
    }
    if (!problems.empty()) {
        error = problems.front().text + " (" + std::to_string(problems.size()) + " problems)";
        for (const int polygon : problems.front().polygons) {
            const int part = polygon >= 0 ? model.polygons[polygon].part : -1;
            if (part >= 0 && std::find(report.faultParts.begin(), report.faultParts.end(), part) ==
                                 report.faultParts.end()) {
                report.faultParts.push_back(part);
            }
        }
        return false;
    }
    return true;
}
