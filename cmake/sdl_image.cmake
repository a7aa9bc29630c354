# krvtool's picture command decodes PNG, JPEG and BMP files through SDL_image
# (tools/pictures/sdl/).
# Only the tools link it: the game reads nothing but its own BMPs.
pkg_check_modules(SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
target_link_libraries(krvtools PRIVATE PkgConfig::SDL2_IMAGE)
