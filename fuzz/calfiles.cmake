# Calibration files: the text scanners and the readers of outside input.
lumivar_fuzz_target(fuzz_caltext ${CMAKE_CURRENT_LIST_DIR}/caltext_fuzz.cpp)
lumivar_fuzz_target(fuzz_calfile ${CMAKE_CURRENT_LIST_DIR}/calfile_fuzz.cpp)
# Coverage feedback from the library code behind the readers, not only from
# the targets themselves.
target_compile_options(lumivar_rt PRIVATE -fsanitize=fuzzer-no-link)
