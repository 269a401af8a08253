# Readers of outside pictures: BMP and JPEG.
lumivar_fuzz_target(images)
