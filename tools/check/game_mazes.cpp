#include "check/game_mazes.h"

#include <string>

std::array<std::unique_ptr<Model>, 3> loadGameMazes(TextureList& textures) {
    std::array<std::unique_ptr<Model>, 3> mazes;
    for (std::size_t i = 0; i < kMazeFiles.size(); ++i) {
        mazes[i] = std::make_unique<Model>(std::string("Objects\\") + kMazeFiles[i], textures,
                                           kMazeCellSize, kMazeHome, ModelLoadMode::Check);
    }
    return mazes;
}
