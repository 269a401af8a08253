# Graphics half of the platform layer: bitmaps, canvas, fonts, images, controls.
target_link_libraries(lumivar_platform PUBLIC JPEG::JPEG PNG::PNG Freetype::Freetype Fontconfig::Fontconfig)
# The stretch loops are plain integer array arithmetic; let the compiler
# vectorise them (the results are the same bits on every target).
# Block copies between the 16-bit and 32-bit layouts convert whole rows the
# same way, and so do the whole-picture fills and the decoder's row fix-ups.
set_source_files_properties(
  ${CMAKE_CURRENT_LIST_DIR}/stretch.cpp ${CMAKE_CURRENT_LIST_DIR}/raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bitmap.cpp ${CMAKE_CURRENT_LIST_DIR}/jpeg.cpp
  PROPERTIES COMPILE_OPTIONS "-O3")
# Text blends whole rows of glyph coverage into the pixels the same way.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/text.cpp PROPERTIES COMPILE_OPTIONS "-O3")
