# Readers of outside pictures: BMP and JPEG. The platform library gets the
# fuzzer's coverage instrumentation so that the search can see inside it.
lumivar_fuzz_target(fuzz_images ${CMAKE_CURRENT_LIST_DIR}/fuzz_images.cpp)
target_compile_options(lumivar_platform PRIVATE -fsanitize=fuzzer-no-link)
