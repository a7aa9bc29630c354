# The font content step reads the gzip-compressed console font with zlib.
find_package(ZLIB REQUIRED)
target_link_libraries(krvtools PUBLIC ZLIB::ZLIB)
