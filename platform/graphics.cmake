# Graphics half of the platform layer: bitmaps, canvas, fonts, images, controls.
target_link_libraries(lumivar_platform PUBLIC JPEG::JPEG PNG::PNG Freetype::Freetype Fontconfig::Fontconfig)
# The stretch loops are plain integer array arithmetic; let the compiler
# vectorise them (the results are the same bits on every target).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/stretch.cpp PROPERTIES COMPILE_OPTIONS "-O3")
