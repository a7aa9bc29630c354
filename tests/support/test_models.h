#pragma once
// Small models for collision tests, written in the model file format to a
// temporary folder and loaded with the real reader.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/vec3.h"

// One polygon with its own face: points in x-z winding order and the face
// normal that decides its slope class.
struct TestPolygon {
    std::vector<Vec3> points;
    Vec3 normal{0.0f, 1.0f, 0.0f};
};

// Horizontal rectangles (x0 <= x1, z0 <= z1) at height y.
TestPolygon floorRect(float x0, float z0, float x1, float z1, float y);
TestPolygon ceilingRect(float x0, float z0, float x1, float z1, float y);
TestPolygon wallRect(float x0, float x1, float z, float y0, float y1);

// The text of a model file holding these polygons, every face a colour face.
std::string modelText(const std::vector<TestPolygon>& polygons);

// A data root in a fresh temporary folder with an Objects folder, restored
// to the previous root when it goes.
class TestModelFolder {
public:
    TestModelFolder();
    ~TestModelFolder();
    TestModelFolder(const TestModelFolder&) = delete;
    TestModelFolder& operator=(const TestModelFolder&) = delete;

    // Writes Objects/<name>.krv and returns its game path.
    std::string write(const std::string& name, const std::string& text);
    std::string write(const std::string& name, const std::vector<TestPolygon>& polygons) {
        return write(name, modelText(polygons));
    }
    std::unique_ptr<Model> load(const std::string& name, const std::vector<TestPolygon>& polygons,
                                std::int32_t cellSize = 100);

    TextureList textures;

private:
    std::filesystem::path root_;
    std::string previousRoot_;
};
