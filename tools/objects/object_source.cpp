// Object sources: parsing and the solids they are stacked from.
#include "objects/object_source.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <vector>

#include "framework/files.h"
#include "maze/model_check.h"
#include "maze/model_compiler.h"
#include "maze/model_readback.h"
#include "objects/object_faults.h"
#include "source_words.h"
#include "shell/game_palette.h"

namespace {

using Word = SourceWord;

std::vector<Word> splitWords(const std::string& line) { return splitSourceWords(line, false); }

class ObjectParser : public SourceErrors {
public:
    ObjectParser(const std::string& fileName, Mesh& mesh) : SourceErrors(fileName), mesh_(mesh) {}
    std::string name;

    bool parse(const std::string& text) {
        std::istringstream in(text);
        int line = 0;
        for (std::string row; std::getline(in, row);) {
            ++line;
            if (!row.empty() && row.back() == '\r') row.pop_back();
            const std::vector<Word> words = splitWords(row);
            if (words.empty()) continue;
            if (!statement(words, line)) return false;
        }
        if (name.empty()) return fail(line, 1, "the source needs an 'object NAME' line");
        if (mesh_.polygons.empty()) return fail(line, 1, "the object has no solids");
        return checkBounds(line);
    }

private:
    Mesh& mesh_;
    int surface_ = -1;
    bool shaded_ = true;
    int level_[3] = {5, 5, 5};
    Point3 light_ = normalized3({-0.4, 0.8, 0.45});

    // Numbers after the keyword, then optional "at X Z" and "turn DEGREES".
    bool arguments(const std::vector<Word>& words, int line, std::size_t count, std::vector<double>& out, double& cx,
                   double& cz, double& turn) {
        out.clear();
        cx = cz = turn = 0.0;
        std::size_t i = 1;
        for (; i < words.size() && out.size() < count; ++i) {
            double v = 0.0;
            if (!number(words[i], line, v)) return false;
            out.push_back(v);
        }
        if (out.size() < count) {
            return fail(line, words.back().column, "'" + words[0].text + "' takes " + std::to_string(count) + " numbers");
        }
        while (i < words.size()) {
            const Word& key = words[i];
            if (key.text == "at" && i + 2 < words.size()) {
                if (!number(words[i + 1], line, cx) || !number(words[i + 2], line, cz)) return false;
                i += 3;
            } else if (key.text == "turn" && i + 1 < words.size()) {
                if (!number(words[i + 1], line, turn)) return false;
                i += 2;
            } else {
                return fail(line, key.column, "unexpected '" + key.text + "' (only 'at X Z' and 'turn DEGREES' may follow)");
            }
        }
        return true;
    }

    bool needSurface(const Word& word, int line) {
        if (surface_ < 0 && shaded_) return fail(line, word.column, "give a 'colour' or 'texture' before the first solid");
        return true;
    }

    // The surface of one face: the colour shaded by the light on its normal.
    int faceSurface(const Point3& normal) {
        if (!shaded_) return surface_;
        const double light = 0.55 + 0.5 * std::max(0.0, dot3(normal, light_));
        int level[3];
        for (int k = 0; k < 3; ++k) level[k] = std::clamp(static_cast<int>(std::lround(level_[k] * light)), 0, 5);
        Surface s;
        s.kind = 1;
        s.colour = cube_index(level[0], level[1], level[2]);
        return mesh_.addSurface(s);
    }

    void face(std::vector<Point3> corners, const Point3& inside) {
        Point3 n = normalized3(outline_normal(corners));
        Point3 centre;
        for (const Point3& c : corners) centre = centre + c * (1.0 / static_cast<double>(corners.size()));
        if (dot3(n, centre - inside) < 0.0) n = n * -1.0;
        mesh_.addPolygonFacing(std::move(corners), n, faceSurface(n));
    }

    Point3 ringPoint(double radius, double y, double angleDegrees, double cx, double cz) const {
        const double a = angleDegrees * std::numbers::pi / 180.0;
        return {cx + radius * std::cos(a), y, cz + radius * std::sin(a)};
    }

    // A band between two rings (a radius of 0 is an apex), with caps where
    // asked.
    void band(int sides, double r0, double y0, double r1, double y1, double cx, double cz, double turn, bool capLow,
              bool capHigh, const Point3& inside) {
        for (int k = 0; k < sides; ++k) {
            const double a0 = turn + 360.0 * k / sides, a1 = turn + 360.0 * (k + 1) / sides;
            std::vector<Point3> corners;
            corners.push_back(ringPoint(r0, y0, a0, cx, cz));
            if (r0 > 0.0) corners.push_back(ringPoint(r0, y0, a1, cx, cz));
            corners.push_back(ringPoint(r1, y1, a1, cx, cz));
            if (r1 > 0.0) corners.push_back(ringPoint(r1, y1, a0, cx, cz));
            face(corners, inside);
        }
        for (const auto& [cap, r, y] : {std::tuple{capLow, r0, y0}, std::tuple{capHigh, r1, y1}}) {
            if (!cap || r <= 0.0) continue;
            std::vector<Point3> corners;
            for (int k = 0; k < sides; ++k) corners.push_back(ringPoint(r, y, turn + 360.0 * k / sides, cx, cz));
            face(corners, inside);
        }
    }

    bool sides(const Word& word, int line, double v, int& out) {
        if (v < 3 || v > 24 || v != std::floor(v)) return fail(line, word.column, "a ring has 3 to 24 sides");
        out = static_cast<int>(v);
        return true;
    }

    bool statement(const std::vector<Word>& words, int line) {
        const std::string& key = words[0].text;
        mesh_.part = line;
        std::vector<double> v;
        double cx = 0, cz = 0, turn = 0;
        if (key == "object") {
            if (words.size() != 2) return fail(line, words[0].column, "write: object NAME");
            name = words[1].text;
            return true;
        }
        if (key == "colour") {
            if (words.size() != 4) return fail(line, words[0].column, "write: colour RED GREEN BLUE (levels 0 to 5)");
            for (int k = 0; k < 3; ++k) {
                double level = 0;
                if (!number(words[k + 1], line, level)) return false;
                if (level < 0 || level > 5 || level != std::floor(level)) {
                    return fail(line, words[k + 1].column, "colour levels are whole numbers 0 to 5");
                }
                level_[k] = static_cast<int>(level);
            }
            shaded_ = true;
            surface_ = 0;
            return true;
        }
        if (key == "texture") {
            if (words.size() != 2 && words.size() != 3) return fail(line, words[0].column, "write: texture NAME [SCALE]");
            Surface s;
            s.kind = 3;
            s.texture = words[1].text;
            s.scale = 64.0;
            if (words.size() == 3 && !number(words[2], line, s.scale)) return false;
            if (s.scale <= 0) return fail(line, words[2].column, "the scale must be positive");
            surface_ = mesh_.addSurface(s);
            shaded_ = false;
            return true;
        }
        if (key == "light") {
            if (!arguments(words, line, 3, v, cx, cz, turn)) return false;
            light_ = normalized3({v[0], v[1], v[2]});
            return true;
        }
        if (key == "box") {
            if (words.size() != 7) return fail(line, words[0].column, "write: box X0 Y0 Z0 X1 Y1 Z1");
            if (!needSurface(words[0], line) || !arguments(words, line, 6, v, cx, cz, turn)) return false;
            const double x0 = std::min(v[0], v[3]), x1 = std::max(v[0], v[3]);
            const double y0 = std::min(v[1], v[4]), y1 = std::max(v[1], v[4]);
            const double z0 = std::min(v[2], v[5]), z1 = std::max(v[2], v[5]);
            if (x0 == x1 || y0 == y1 || z0 == z1) return fail(line, words[0].column, "a box needs a size on every axis");
            const Point3 inside{(x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2};
            face({{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}, inside);
            face({{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, inside);
            face({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, inside);
            face({{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, inside);
            face({{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}, inside);
            face({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, inside);
            return true;
        }
        if (key == "prism" || key == "frustum") {
            const bool prism = key == "prism";
            const std::size_t count = prism ? 4 : 5;
            if (!needSurface(words[0], line) || !arguments(words, line, count, v, cx, cz, turn)) return false;
            int n = 0;
            if (!sides(words[1], line, v[0], n)) return false;
            const double r0 = v[1], r1 = prism ? v[1] : v[2];
            const double y0 = v[count - 2], y1 = v[count - 1];
            if (r0 < 0 || r1 < 0 || (r0 == 0 && r1 == 0)) return fail(line, words[2].column, "radii are positive");
            if (y1 <= y0) return fail(line, words[count - 1].column, "the top must be above the bottom");
            band(n, r0, y0, r1, y1, cx, cz, turn, true, true, {cx, (y0 + y1) / 2, cz});
            return true;
        }
        if (key == "bipyramid") {
            if (!needSurface(words[0], line) || !arguments(words, line, 5, v, cx, cz, turn)) return false;
            int n = 0;
            if (!sides(words[1], line, v[0], n)) return false;
            if (v[1] <= 0) return fail(line, words[2].column, "the radius must be positive");
            if (!(v[2] < v[3] && v[3] < v[4])) return fail(line, words[3].column, "write the bottom, middle and top in order");
            const Point3 inside{cx, v[3], cz};
            band(n, 0.0, v[2], v[1], v[3], cx, cz, turn, false, false, inside);
            band(n, v[1], v[3], 0.0, v[4], cx, cz, turn, false, false, inside);
            return true;
        }
        if (key == "sphere") {
            if (!needSurface(words[0], line) || !arguments(words, line, 4, v, cx, cz, turn)) return false;
            int n = 0;
            if (!sides(words[1], line, v[0], n)) return false;
            const int rings = static_cast<int>(v[1]);
            if (rings < 2 || rings > 12 || v[1] != rings) return fail(line, words[2].column, "a sphere has 2 to 12 rings");
            if (v[2] <= 0) return fail(line, words[3].column, "the radius must be positive");
            const double radius = v[2], cy = v[3];
            const Point3 inside{cx, cy, cz};
            for (int k = 0; k < rings; ++k) {
                const double t0 = std::numbers::pi * k / rings, t1 = std::numbers::pi * (k + 1) / rings;
                band(n, radius * std::sin(t0), cy - radius * std::cos(t0), radius * std::sin(t1),
                     cy - radius * std::cos(t1), cx, cz, turn, false, false, inside);
            }
            return true;
        }
        return fail(line, words[0].column,
                    "unknown line '" + key + "' (object, colour, texture, light, box, prism, frustum, bipyramid, sphere)");
    }

    bool checkBounds(int line) {
        double lowY = 1e30;
        for (const Point3& p : mesh_.points) {
            lowY = std::min(lowY, p.y);
            if (std::fabs(p.x) > kObjectHalfWidth + 1e-6 || std::fabs(p.z) > kObjectHalfWidth + 1e-6 ||
                p.y > kObjectHeight + 1e-6) {
                return fail(line, 1, "the object leaves the 100-unit cube around its origin (x and z within 50, y up to 100)");
            }
        }
        if (std::fabs(lowY) > 1e-6) return fail(line, 1, "the object must stand on y 0, its origin's floor");
        return true;
    }
};

}  // namespace

bool build_object_mesh(const std::string& text, const std::string& fileName, Mesh& mesh, std::string& name,
                       std::string& error) {
    mesh = Mesh{};
    ObjectParser parser(fileName, mesh);
    if (!parser.parse(text)) {
        error = parser.error;
        return false;
    }
    name = parser.name;
    return true;
}

bool compile_object_file(const std::string& sourcePath, const std::string& modelPath, bool verbose, std::string& error) {
    std::string text;
    if (!fw_read_whole_file(sourcePath, text)) {
        error = sourcePath + ": cannot open the file";
        return false;
    }
    Mesh mesh;
    std::string name;
    if (!build_object_mesh(text, sourcePath, mesh, name, error)) return false;
    ModelData model;
    CompileReport report;
    if (!compile_model(std::move(mesh), model, report, error)) {
        error = object_compile_fault(sourcePath, text, report.faultParts, error);
        return false;
    }
    error = object_grid_fault(sourcePath, text, model);
    if (!error.empty()) return false;
    if (!write_checked_model_file(sourcePath, modelPath, model, kObjectGridCell, error)) return false;
    if (verbose) {
        std::printf("%s (%s): %d points, %d polygons (%d splits), %d faces, %d nodes\n", modelPath.c_str(), name.c_str(),
                    report.points, report.polygons, report.splits, report.faces, report.nodes);
    }
    return true;
}
