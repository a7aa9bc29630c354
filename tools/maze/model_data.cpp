// Writing model files, and reading back what the toolkit wrote.
#include "maze/model_data.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string pointText(const Point3& p) {
    return float_text(p.x) + ", " + float_text(p.y) + ", " + float_text(p.z);
}

std::string indexList(const std::vector<int>& indices) {
    std::string line;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(indices[i] + 1);
    }
    return line;
}

// 1-based link text: -1 stays -1.
std::string link(int index) { return std::to_string(index < 0 ? -1 : index + 1); }

}  // namespace

std::size_t index_list_length(std::span<const int> indices) {
    std::size_t length = indices.empty() ? 0 : 2 * (indices.size() - 1);
    for (const int index : indices) length += std::to_string(index + 1).size();
    return length;
}

std::string float_text(double value) {
    float f = static_cast<float>(value);
    if (f == 0.0f) f = 0.0f;  // no "-0"
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, f);
    return std::string(buffer, result.ptr);
}

std::string model_file_text(const ModelData& model) {
    std::ostringstream out;
    out << "#numberOfPoints\n" << model.points.size() << "\n";
    out << "#numberOfPolygons\n" << model.polygons.size() << "\n";
    out << "#numberOfFaces\n" << model.faces.size() << "\n";
    out << "#numberOfBspNodes\n" << model.nodes.size() << "\n";

    out << "#vertices\n";
    for (const Point3& p : model.points) out << pointText(p) << "\n";
    out << "\n#polygons\n";
    for (const ModelPolygon& polygon : model.polygons) out << indexList(polygon.points) << "\n";
    out << "\n#faces\n";
    for (const ModelFace& face : model.faces) out << indexList(face.polygons) << "\n";
    out << "\n#facenormals\n";
    for (const ModelFace& face : model.faces) out << pointText(face.normal) << "\n";
    out << "\n#textures\n";
    for (const ModelTexture& texture : model.textures) {
        out << "256, 256, " << texture.name << ", " << texture.file << "\n";
    }
    out << "\n#faceproperties\n";
    for (const ModelFace& face : model.faces) {
        if (face.surface.textured()) {
            out << face.surface.kind << ", " << face.surface.texture << "\n";
        } else {
            out << face.surface.kind << ", " << face.surface.colour << "\n";
        }
    }
    out << "\n#correspondences\n";
    for (std::size_t f = 0; f < model.faces.size(); ++f) {
        const ModelFace& face = model.faces[f];
        if (!face.surface.textured()) continue;
        // The first line of a block is not read; it must not be empty only
        // for a human reader's sake.
        out << "face " << (f + 1) << "\n";
        for (const Point3& p : face.mapPoints) out << pointText(p) << "\n";
        for (const auto& t : face.mapCoords) out << float_text(t[0]) << ", " << float_text(t[1]) << ", 0\n";
    }
    out << "\n#bsptree\n";
    for (std::size_t n = 0; n < model.nodes.size(); ++n) {
        const ModelNode& node = model.nodes[n];
        out << (n + 1) << ": polygon " << link(node.polygon) << " frontlist " << link(node.frontlist)
            << " backlist " << link(node.backlist) << " fronttree " << link(node.fronttree)
            << " backtree " << link(node.backtree);
        if (node.polygon >= 0) {
            // Informative only: the game decides sides from the polygon.
            const ModelPolygon& polygon = model.polygons[node.polygon];
            const Point3& n0 = model.faces[polygon.face].normal;
            const Point3& p0 = model.points[polygon.points[0]];
            Point3 lo = p0;
            Point3 hi = p0;
            for (const int i : polygon.points) {
                const Point3& p = model.points[i];
                lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
                hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            }
            out << " plane " << float_text(n0.x) << " " << float_text(n0.y) << " " << float_text(n0.z) << " "
                << float_text(dot3(n0, p0)) << " boundingbox " << float_text(lo.x) << " " << float_text(lo.y)
                << " " << float_text(lo.z) << " " << float_text(hi.x) << " " << float_text(hi.y) << " "
                << float_text(hi.z);
        }
        out << "\n";
    }
    out << "\n#pointnormals\n";
    // Nothing in the game reads point normals; "!!" leaves each one zero.
    for (std::size_t i = 0; i < model.points.size(); ++i) out << "!!\n";
    out << "#eof\n";
    return out.str();
}

bool write_model_file(const std::string& path, const ModelData& model, std::string& error) {
    std::ofstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot create the file";
        return false;
    }
    file << model_file_text(model);
    file.close();
    if (!file) {
        error = path + ": cannot write the file";
        return false;
    }
    return true;
}

namespace {

class Reader {
public:
    std::vector<std::string> lines;
    std::string path;
    std::string error;

    bool fail(std::size_t line, const std::string& text) {
        error = path + ":" + std::to_string(line + 1) + ": " + text;
        return false;
    }

    // Index of the line after the keyword line, or lines.size() when absent.
    std::size_t find(const std::string& keyword) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].compare(0, keyword.size(), keyword) == 0) return i + 1;
        }
        return lines.size();
    }

    bool numbers(std::size_t line, std::vector<double>& out) {
        out.clear();
        const std::string& text = lines[line];
        const char* p = text.data();
        const char* end = p + text.size();
        while (p < end) {
            while (p < end && (*p == ' ' || *p == ',' || *p == '\t')) ++p;
            if (p == end) break;
            double value = 0.0;
            const auto result = std::from_chars(p, end, value);
            if (result.ec != std::errc()) return fail(line, "a number was expected");
            out.push_back(value);
            p = result.ptr;
        }
        return true;
    }

    bool count(const std::string& keyword, std::size_t& n) {
        const std::size_t at = find(keyword);
        if (at >= lines.size()) return fail(lines.size() - 1, keyword + " is missing");
        std::vector<double> v;
        if (!numbers(at, v) || v.size() != 1 || v[0] < 0) return fail(at, "a count was expected");
        n = static_cast<std::size_t>(v[0]);
        return true;
    }

    // The lines of a list section up to its closing empty line.
    bool list(const std::string& keyword, std::size_t& first, std::size_t& n) {
        first = find(keyword);
        if (first >= lines.size()) return fail(lines.size() - 1, keyword + " is missing");
        n = 0;
        while (first + n < lines.size() && !lines[first + n].empty()) ++n;
        if (first + n >= lines.size()) return fail(first, keyword + " is not closed by an empty line");
        return true;
    }

    bool indices(std::size_t line, std::size_t limit, std::vector<int>& out) {
        std::vector<double> v;
        if (!numbers(line, v)) return false;
        out.clear();
        for (const double d : v) {
            if (d < 1 || d > static_cast<double>(limit) || d != static_cast<int>(d)) {
                return fail(line, "index out of range");
            }
            out.push_back(static_cast<int>(d) - 1);
        }
        return true;
    }
};

}  // namespace

bool read_model_file(const std::string& path, ModelData& model, std::string& error) {
    Reader r;
    r.path = path;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot open the file";
        return false;
    }
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        r.lines.push_back(line);
    }
    model = ModelData{};
    std::size_t pointCount = 0, polygonCount = 0, faceCount = 0, nodeCount = 0;
    bool ok = r.count("#numberOfPoints", pointCount) && r.count("#numberOfPolygons", polygonCount) &&
              r.count("#numberOfFaces", faceCount) && r.count("#numberOfBspNodes", nodeCount);
    std::size_t first = 0, n = 0;
    std::vector<double> v;
    if (ok && (ok = r.list("#vertices", first, n)) && n != pointCount) ok = r.fail(first, "wrong number of points");
    for (std::size_t i = 0; ok && i < n; ++i) {
        ok = r.numbers(first + i, v) && (v.size() == 3 || r.fail(first + i, "three numbers expected"));
        if (ok) model.points.push_back({v[0], v[1], v[2]});
    }
    if (ok && (ok = r.list("#polygons", first, n)) && n != polygonCount) ok = r.fail(first, "wrong number of polygons");
    for (std::size_t i = 0; ok && i < n; ++i) {
        model.polygons.emplace_back();
        ok = r.indices(first + i, pointCount, model.polygons.back().points);
    }
    if (ok && (ok = r.list("#faces", first, n)) && n != faceCount) ok = r.fail(first, "wrong number of faces");
    for (std::size_t i = 0; ok && i < n; ++i) {
        model.faces.emplace_back();
        ok = r.indices(first + i, polygonCount, model.faces.back().polygons);
        for (const int p : model.faces.back().polygons) model.polygons[p].face = static_cast<int>(i);
    }
    if (ok && (ok = r.list("#facenormals", first, n)) && n != faceCount) ok = r.fail(first, "wrong number of normals");
    for (std::size_t i = 0; ok && i < n; ++i) {
        ok = r.numbers(first + i, v) && (v.size() == 3 || r.fail(first + i, "three numbers expected"));
        if (ok) model.faces[i].normal = {v[0], v[1], v[2]};
    }
    if (ok) ok = r.list("#textures", first, n);
    for (std::size_t i = 0; ok && i < n; ++i) {
        std::istringstream words(r.lines[first + i]);
        std::string width, height, name, fileName;
        words >> width >> height >> name >> fileName;
        if (name.empty() || fileName.empty()) ok = r.fail(first + i, "texture line without name and file");
        if (!name.empty() && name.back() == ',') name.pop_back();
        model.textures.push_back({name, fileName});
    }
    if (ok && (ok = r.list("#faceproperties", first, n)) && n != faceCount) ok = r.fail(first, "wrong number of properties");
    for (std::size_t i = 0; ok && i < n; ++i) {
        const std::string& text = r.lines[first + i];
        Surface& s = model.faces[i].surface;
        s.kind = text.empty() ? -1 : text[0] - '0';
        if (s.kind < 0 || s.kind > 5 || text.size() < 4 || text.compare(1, 2, ", ") != 0) {
            ok = r.fail(first + i, "a property line is 'kind, value'");
        } else if (s.textured()) {
            s.texture = text.substr(3);
        } else {
            s.colour = std::atoi(text.c_str() + 3);
        }
    }
    if (ok) {
        std::size_t line = r.find("#correspondences");
        for (std::size_t f = 0; ok && f < faceCount; ++f) {
            ModelFace& face = model.faces[f];
            if (!face.surface.textured()) continue;
            if (line + 7 > r.lines.size()) {
                ok = r.fail(r.lines.size() - 1, "correspondence block missing");
                break;
            }
            for (int k = 0; ok && k < 6; ++k) {
                ok = r.numbers(line + 1 + k, v) && (v.size() == 3 || r.fail(line + 1 + k, "three numbers expected"));
                if (!ok) break;
                if (k < 3) face.mapPoints[k] = {v[0], v[1], v[2]};
                else face.mapCoords[k - 3][0] = v[0], face.mapCoords[k - 3][1] = v[1];
            }
            line += 7;
        }
    }
    if (ok && (ok = r.list("#bsptree", first, n)) && n != nodeCount) ok = r.fail(first, "wrong number of nodes");
    for (std::size_t i = 0; ok && i < n; ++i) {
        std::istringstream words(r.lines[first + i]);
        std::string number;
        words >> number;
        if (number != std::to_string(i + 1) + ":") {
            ok = r.fail(first + i, "node lines are numbered in order");
            break;
        }
        ModelNode node;
        for (std::string key; words >> key;) {
            int* field = key == "polygon"     ? &node.polygon
                         : key == "frontlist" ? &node.frontlist
                         : key == "backlist"  ? &node.backlist
                         : key == "fronttree" ? &node.fronttree
                         : key == "backtree"  ? &node.backtree
                                              : nullptr;
            if (field == nullptr) continue;
            int value = 0;
            words >> value;
            *field = value < 0 ? -1 : value - 1;
        }
        model.nodes.push_back(node);
    }
    if (!ok) error = r.error;
    return ok;
}
