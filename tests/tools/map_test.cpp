// krvtool map on the default mazes: what an author reads off the picture is
// where the world puts it: floor a player walks on, rock, floor nobody
// reaches, the objects and their other places, the passages.

#include <gtest/gtest.h>

#include <variant>

#include "framework/files.h"
#include "logic/logic_file.h"
#include "proof/maze_map.h"

namespace {

using namespace map_colour;

bool reachedFloor(std::uint8_t colour) {
    return colour >= kReachedFloor && colour < kReachedFloor + kHeightLevels;
}

bool unreachedFloor(std::uint8_t colour) {
    return colour == kHatch ||
           (colour >= kUnreachedFloor && colour < kUnreachedFloor + kHeightLevels);
}

TEST(MazeMap, DrawsTheDefaultMazesWhereTheWorldPutsThem) {
    fw_set_data_root(KRV_GAME_DIR);
    std::string error;
    const auto map = drawMazeMap(-1, error);
    ASSERT_TRUE(map) << error;
    ASSERT_EQ(map->panels.size(), 3u);
    const IndexedCanvas& c = map->canvas;
    const MapPanel& hall = map->panels[0];
    const auto at = [&](const MapPanel& panel, float x, float z) {
        return c.at(panel.pixelX(x), panel.pixelY(z));
    };

    // The vestibule beside the home is walked on; x 1030, z -230 is rock.
    EXPECT_TRUE(reachedFloor(at(hall, 830, -105)));
    EXPECT_EQ(at(hall, 1030, -230), kVoid);
    // Skirting is floor that nobody walks on.
    std::size_t reached = 0, unreached = 0;
    for (int y = hall.top; y < hall.top + hall.height; ++y) {
        for (int x = hall.left; x < hall.left + hall.width; ++x) {
            reached += reachedFloor(c.at(x, y));
            unreached += unreachedFloor(c.at(x, y));
        }
    }
    EXPECT_GT(reached, 100000u);
    EXPECT_GT(unreached, 10000u);

    // The globe (object 0) and the ring of its other place; the passage box
    // of the cellar's north end, from (1440, -505).
    TextFile file;
    ASSERT_TRUE(file.open(kLogicFile));
    const LogicFileContents logic = parseLogicFile(file);
    const auto globe = std::find_if(logic.records.begin(), logic.records.end(), [](const auto& r) {
        return std::holds_alternative<LogicObject>(r.value);
    });
    ASSERT_NE(globe, logic.records.end());
    const LogicObject& object = std::get<LogicObject>(globe->value);
    EXPECT_EQ(at(hall, object.position.x, object.position.z), kObject);
    EXPECT_EQ(c.at(hall.pixelX(object.otherPosition.x) + 6, hall.pixelY(object.otherPosition.z)),
              kOtherPlace);
    EXPECT_EQ(at(hall, 1440, -505), kPassage);
    EXPECT_EQ(at(hall, 1440, -480), kPassage);

    // The Caves are lower than the hall's gallery: floor by height.
    EXPECT_LT(map->lowestFloor, 0.0f);
    EXPECT_GT(map->highestFloor, 100.0f);
    fw_set_data_root("");
}

}  // namespace
