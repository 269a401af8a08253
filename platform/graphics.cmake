# Graphics half of the platform layer: bitmaps, canvas, fonts, images, controls.
target_link_libraries(lumivar_platform PUBLIC JPEG::JPEG PNG::PNG Freetype::Freetype Fontconfig::Fontconfig)
