# The renderer's inner loops: full optimisation, and lrint inlined to one
# conversion instruction (it never sets errno's value the game reads).
# Multiply-adds stay unfused, so that painters built for other instruction
# sets compute the very same texture coordinates as the portable one.
file(GLOB KRV_RENDER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/render/*.cpp)
set_source_files_properties(${KRV_RENDER_SOURCES} PROPERTIES COMPILE_OPTIONS "-O3;-fno-math-errno;-ffp-contract=off")
