# Calibration files: the text scanners and the readers of outside input.
lumivar_fuzz_target(fuzz_caltext ${CMAKE_CURRENT_LIST_DIR}/caltext_fuzz.cpp)
lumivar_fuzz_target(fuzz_calfile ${CMAKE_CURRENT_LIST_DIR}/calfile_fuzz.cpp)
