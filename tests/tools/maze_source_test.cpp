// The maze compiler seen from a content author: error messages that point at
// the file, line and column, and the geometry and marks a small source gives.
#include <gtest/gtest.h>

#include <string>

#include "maze/maze_builder.h"
#include "maze/maze_source.h"
#include "maze/model_check.h"
#include "maze/model_compiler.h"
#include "objects/object_source.h"

namespace {

const std::string kHeader =
    "maze \"test\"\n"        // 1
    "cell 50\n"              // 2
    "origin 0 0\n"           // 3
    "skirting 20 20 plinth\n"  // 4
    "legend\n"               // 5
    "# solid walls brick\n"  // 6
    ". floor 0 ceiling 120 ground tiles roof plaster walls brick\n"  // 7
    "1 like . floor 12\n"    // 8
    "end\n";                 // 9

std::string errorOf(const std::string& text) {
    MazeSource source;
    std::string error;
    EXPECT_FALSE(parse_maze_source(text, "m.maze", source, error));
    return error;
}

TEST(MazeSource, ErrorsNameFileLineAndColumn) {
    const std::string map = "map\n#####\n#..x#\n#####\nend\n";
    EXPECT_EQ(errorOf(kHeader + map), "m.maze:12:4: 'x' is not in the legend");
    EXPECT_EQ(errorOf("cell fifty\n"), "m.maze:1:6: 'fifty' is not a number");
    EXPECT_EQ(errorOf("cell 50 60\n"), "m.maze:1:9: 'cell' takes 1 number");
    EXPECT_EQ(errorOf("wobble 3\n"), "m.maze:1:1: unknown directive 'wobble'");
    EXPECT_EQ(errorOf(kHeader + "map\n#####\n"), "m.maze:10:1: this block has no 'end' line");
    EXPECT_EQ(errorOf("legend\n. floor 0 ceiling 120 ground tiles roof wood walls brick shiny yes\nend\n"),
              "m.maze:2:58: unknown cell property 'shiny' (solid, floor, ceiling, ground, roof, walls, like)");
    EXPECT_EQ(errorOf("legend\n. floor 0 ground tiles roof wood walls brick\nend\n"),
              "m.maze:2:1: an open cell needs both 'floor' and 'ceiling'");
    EXPECT_EQ(errorOf("skirting 20 10 plinth\n"),
              "m.maze:1:13: the skirting must be higher than a step (15) to keep players off");
    const std::string marks = "map\n#####\n#...#\n#####\nend\nmarks\n.....\nA....\nend\nmark A start here\n";
    EXPECT_EQ(errorOf(kHeader + marks), "m.maze:17:1: mark 'A' stands on a wall");
    EXPECT_EQ(errorOf(kHeader + "map\n###\n#.#\n###\nend\nmarks\n...\n.B.\nend\n"), "m.maze:17:2: mark 'B' has no 'mark' line");
    EXPECT_EQ(errorOf(kHeader + "mark A portal x\n"), "m.maze:10:8: a mark is a start, passage, sound or object");
}

TEST(MazeSource, TheHomeMustStandOnTheRightFloor) {
    MazeSource source;
    std::string error;
    ASSERT_TRUE(parse_maze_source(kHeader + "home 75 40 75\nmap\n####\n#11#\n#..#\n####\nend\n", "m.maze", source, error))
        << error;
    MazeBuild build;
    EXPECT_FALSE(build_maze(source, build, error));
    EXPECT_NE(error.find("needs a floor at y 0"), std::string::npos) << error;
    source.homeZ = 125;
    EXPECT_TRUE(build_maze(source, build, error)) << error;
    source.homeX = 10;  // the wall
    EXPECT_FALSE(build_maze(source, build, error));
}

// A closed room: floors, ceilings, walls; skirting raised along every wall
// and no T-junction left.
TEST(MazeSource, ARoomGetsSkirtingAndASoundModel) {
    MazeSource source;
    std::string error;
    const std::string text = kHeader +
                             "map\n#####\n#...#\n#...#\n#...#\n#####\nend\n"
                             "marks\n.....\n.A...\n..o..\n..SS.\nend\n"
                             "mark A start door\nmark o object middle\nmark S sound corner\n";
    ASSERT_TRUE(parse_maze_source(text, "m.maze", source, error)) << error;
    MazeBuild build;
    ASSERT_TRUE(build_maze(source, build, error)) << error;
    bool middleAtZero = false, skirtingAt20 = false;
    for (const MeshPolygon& polygon : build.mesh.polygons) {
        if (polygon.normal.y < 0.5) continue;
        const double y = build.mesh.points[polygon.points[0]].y;
        middleAtZero = middleAtZero || y == 0.0;
        skirtingAt20 = skirtingAt20 || y == 20.0;
    }
    EXPECT_TRUE(middleAtZero);
    EXPECT_TRUE(skirtingAt20);
    ASSERT_EQ(build.marks.size(), 3u);
    EXPECT_EQ(build.marks[0].lo[0], 75.0);   // centre of column 1
    EXPECT_EQ(build.marks[0].lo[1], 40.0);   // eye height
    EXPECT_EQ(build.marks[1].lo[1], 0.0);    // the object stands on the floor
    EXPECT_EQ(build.marks[2].lo[0], 100.0);  // the box spans its cells
    EXPECT_EQ(build.marks[2].hi[0], 200.0);
    EXPECT_EQ(build.marks[2].hi[1], 120.0);
    ModelData model;
    CompileReport report;
    ASSERT_TRUE(compile_model(build.mesh, model, report, error)) << error;
    EXPECT_TRUE(check_t_junctions(model).empty());
    EXPECT_TRUE(check_bsp_tree(model).empty());
}

// The skirting beside a stair stands above the next step too, so nobody
// walks from a step onto the strip and up to the wall.
TEST(MazeSource, SkirtingBesideStairsOutreachesTheNextStep) {
    MazeSource source;
    std::string error;
    ASSERT_TRUE(parse_maze_source(kHeader + "map\n####\n#11#\n#..#\n####\nend\n", "m.maze", source, error)) << error;
    MazeBuild build;
    ASSERT_TRUE(build_maze(source, build, error)) << error;
    double highest = 0;
    for (const MeshPolygon& polygon : build.mesh.polygons) {
        if (polygon.normal.y > 0.5) highest = std::max(highest, build.mesh.points[polygon.points[0]].y);
    }
    EXPECT_EQ(highest, 32.0);  // step 12 + 20
}

TEST(MazeSource, ObjectSourcesReportWhereTheyGoWrong) {
    Mesh mesh;
    std::string name, error;
    EXPECT_FALSE(build_object_mesh("object x\nprism 6 10 0 20\n", "o.shape", mesh, name, error));
    EXPECT_EQ(error, "o.shape:2:1: give a 'colour' or 'texture' before the first solid");
    EXPECT_FALSE(build_object_mesh("object x\ncolour 1 2 9\n", "o.shape", mesh, name, error));
    EXPECT_EQ(error, "o.shape:2:12: colour levels are whole numbers 0 to 5");
    EXPECT_FALSE(build_object_mesh("object x\ncolour 1 2 3\nbox -60 0 0 10 10 10\n", "o.shape", mesh, name, error));
    EXPECT_NE(error.find("leaves the 100-unit cube"), std::string::npos);
    EXPECT_FALSE(build_object_mesh("object x\ncolour 1 2 3\nbox -10 5 0 10 10 10\n", "o.shape", mesh, name, error));
    EXPECT_NE(error.find("must stand on y 0"), std::string::npos);
    ASSERT_TRUE(build_object_mesh("object x\ncolour 1 2 3\nfrustum 4 10 0 0 30 turn 45\n", "o.shape", mesh, name, error))
        << error;
    EXPECT_EQ(name, "x");
    EXPECT_EQ(mesh.polygons.size(), 5u);  // four sides and a base
    for (const MeshPolygon& polygon : mesh.polygons) {
        // Every face points away from the solid's inside.
        Point3 centre;
        for (const int p : polygon.points) centre = centre + mesh.points[p] * (1.0 / polygon.points.size());
        EXPECT_GT(dot3(polygon.normal, centre - Point3{0, 10, 0}), 0.0);
    }
}

}  // namespace
