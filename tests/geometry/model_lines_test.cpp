#include "geometry/model_lines.h"

#include <gtest/gtest.h>

#include "geometry/face.h"
#include "geometry/trig.h"

namespace {

NodeLine node(std::string_view line, long long position = 2) {
    NodeLine result;
    std::string reason;
    EXPECT_TRUE(parseNodeLine(line, position, result, reason)) << line << ": " << reason;
    return result;
}

TEST(NodeLine, UnknownWordsAndInvalidValuesAreSkipped) {
    const NodeLine bogus = node("2: polygon 5 bogus fronttree 3");
    EXPECT_EQ(bogus.polygon, 5);
    EXPECT_EQ(bogus.fronttree, 3);

    const NodeLine invalid = node("2: polygon x fronttree 3");
    EXPECT_EQ(invalid.polygon, -1);
    EXPECT_EQ(invalid.fronttree, 3);

    const NodeLine trailingDigits = node("2: polygon 5x backtree 4");
    EXPECT_EQ(trailingDigits.polygon, -1);
    EXPECT_EQ(trailingDigits.backtree, 4);
}

TEST(NodeLine, KeywordWithoutValueIsIgnored) {
    EXPECT_EQ(node("2: polygon 5 fronttree").fronttree, -1);
    EXPECT_EQ(node("2: polygon 5 fronttree ").fronttree, -1);
    EXPECT_EQ(node("2: polygon 5 fronttree").polygon, 5);
    // Two blanks make an empty token, which reads as 0.
    EXPECT_EQ(node("2: polygon  5").polygon, 0);
}

TEST(NodeLine, CharacterAfterTheColonIsAlwaysSkipped) {
    const NodeLine squeezed = node("2:polygon 5");
    EXPECT_EQ(squeezed.polygon, -1);  // the first word reads "olygon"
    EXPECT_EQ(squeezed.fronttree, -1);
}

TEST(NodeLine, PlaneTruncatesAndBoundsAreReals) {
    const NodeLine n = node("2: plane 0.9 -0.5 1.7 -20.25 boundingbox 0 -50 0 400 -50.5 300");
    EXPECT_EQ(n.plane[0], 0);
    EXPECT_EQ(n.plane[1], 0);
    EXPECT_EQ(n.plane[2], 1);
    EXPECT_EQ(n.plane[3], -20);
    EXPECT_EQ(n.bounds[1], (Vec3{400, -50.5f, 300}));

    // An invalid value ends the keyword; the numbers after it are words.
    const NodeLine cut = node("2: plane 3 x 5 6 polygon 1");
    EXPECT_EQ(cut.plane[0], 3);
    EXPECT_EQ(cut.plane[1], -1);
    EXPECT_EQ(cut.plane[2], -1);
    EXPECT_EQ(cut.polygon, 1);

    // A plane value no 32-bit integer holds is invalid rather than undefined.
    EXPECT_EQ(node("2: plane 1e30 1 1 1").plane[0], -1);
}

TEST(NodeLine, NumberAndColonAreChecked) {
    NodeLine result;
    std::string reason;
    EXPECT_FALSE(parseNodeLine("2 polygon 5", 2, result, reason));  // no colon
    EXPECT_FALSE(parseNodeLine("3: polygon 5", 2, result, reason));
    EXPECT_FALSE(parseNodeLine("+2: polygon 5", 2, result, reason));
    EXPECT_FALSE(parseNodeLine("2: ", 2, result, reason));
    EXPECT_FALSE(parseNodeLine("2:", 2, result, reason));
    EXPECT_TRUE(parseNodeLine(" 2: x", 2, result, reason));
}

TEST(ObjectFileNumbers, ReadLikeTheCLibraryButDecimalOnly) {
    Vec3 p;
    ASSERT_TRUE(parsePointLine("12.5, 0, -40", p));
    EXPECT_EQ(p, (Vec3{12.5f, 0, -40}));
    ASSERT_TRUE(parsePointLine("1", p));  // the skip never runs past the end
    EXPECT_EQ(p, (Vec3{1, 0, 0}));
    // Neither "inf" nor hexadecimal is a number here.
    ASSERT_TRUE(parsePointLine("inf, 0x10, 2", p));
    EXPECT_EQ(p, (Vec3{0, 0, 0}));
    EXPECT_FALSE(parsePointLine("1e39, 0, 0", p));  // beyond any float

    std::vector<long long> indices;
    parseIndexList("1, 2, 3, 4", indices);
    EXPECT_EQ(indices, (std::vector<long long>{1, 2, 3, 4}));
    parseIndexList("1,2,3", indices);
    EXPECT_EQ(indices, (std::vector<long long>{1, 0, 0}));

    long long count = 0;
    EXPECT_TRUE(parseCountLine("", count));  // an empty line reads as 0
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(parseCountLine(" ", count));
}

TEST(ObjectFileLines, TexturePropertyAndCorrespondenceLines) {
    TextureLine texture;
    ASSERT_TRUE(parseTextureLine("256, 256, brick, brick.bmp trailing", texture));
    EXPECT_EQ(texture.name, "brick");
    EXPECT_EQ(texture.file, "brick.bmp");
    EXPECT_FALSE(parseTextureLine("256, 256, brick", texture));

    PropertyLine property;
    ASSERT_TRUE(parsePropertyLine("1, 187", property));
    EXPECT_EQ(property.colour, 187);
    ASSERT_TRUE(parsePropertyLine("5, stone,x", property));
    EXPECT_EQ(property.textureName, "stone");
    EXPECT_FALSE(parsePropertyLine("6, 1", property));
    EXPECT_FALSE(parsePropertyLine("3, ", property));

    Vec3 v;
    ASSERT_TRUE(parseCorrespondenceLine(" 1,,2 , 3", v));
    EXPECT_EQ(v, (Vec3{1, 2, 3}));
    ASSERT_TRUE(parseCorrespondenceLine("", v));
    EXPECT_EQ(v, (Vec3{}));
}

TEST(SlopeClass, FromTheNormalsY) {
    buildTrigTables();
    EXPECT_EQ(classifySlope({0, 1, 0}), SlopeClass::FlatFloor);
    EXPECT_EQ(classifySlope({0, 0.9f, 0.436f}), SlopeClass::SlopedFloor);
    EXPECT_EQ(classifySlope({0, 0.5f, 0.866f}), SlopeClass::Wall);
    EXPECT_EQ(classifySlope({0, -0.5f, 0.866f}), SlopeClass::SlopedCeiling);
    EXPECT_EQ(classifySlope({0, -1, 0}), SlopeClass::FlatCeiling);
    EXPECT_EQ(classifySlope({0, -0.05f, 0.9987f}), SlopeClass::Wall);
    EXPECT_EQ(classifySlope({0, 2, 0}), SlopeClass::FlatFloor);  // raw y, not normalised
}

TEST(FaceMapping, SendsTheReferencePointsToTheirCoordinates) {
    Face face;
    face.setNormal(0, 0, 1);
    const MappingBlock block = {Vec3{10, 10, 5}, Vec3{20, 10, 5}, Vec3{10, 30, 5},
                                Vec3{1, 2, 9},   Vec3{2, 2, 9},   Vec3{1, 3, 9}};
    ASSERT_TRUE(face.setMapping(block));
    EXPECT_EQ(face.texOrigin, (Vec3{1, 2, 0}));  // w dropped
    for (int i = 0; i < 3; ++i) {
        Vec3 offset, t;
        block[i].add(face.mapOrigin, offset);
        face.mapping.transform(offset, t);
        t.addInPlace(face.texOrigin);
        EXPECT_NEAR(t.x, block[3 + i].x, 1e-5f);
        EXPECT_NEAR(t.y, block[3 + i].y, 1e-5f);
        EXPECT_NEAR(t.z, 0.0f, 1e-5f);
    }
    // Collinear points are refused when asked to refuse, and leave the face.
    Face before = face;
    const MappingBlock collinear = {Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{2, 0, 0},
                                    Vec3{},        Vec3{1, 0, 0}, Vec3{0, 1, 0}};
    EXPECT_FALSE(face.setMapping(collinear, true));
    EXPECT_EQ(face.mapping, before.mapping);
}

}  // namespace
