# Landmark and symbol files: the readers of outside input behind the
# landmark layer and the symbol repository (seeds in corpus/<target>/).
lumivar_fuzz_target(landmarkfile_fuzz ${CMAKE_CURRENT_LIST_DIR}/landmarkfile_fuzz.cpp)
lumivar_fuzz_target(symbolfile_fuzz ${CMAKE_CURRENT_LIST_DIR}/symbolfile_fuzz.cpp)
target_compile_options(lumivar_rt PRIVATE -fsanitize=fuzzer-no-link)
