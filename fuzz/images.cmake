# Readers of outside pictures: BMP and JPEG.
lumivar_fuzz_target(fuzz_images ${CMAKE_CURRENT_LIST_DIR}/fuzz_images.cpp)
