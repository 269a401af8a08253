# Opens a database whose seven files come from the fuzzer and uses it.
lumivar_fuzz_target(fuzz_geodb ${CMAKE_CURRENT_LIST_DIR}/fuzz_geodb.cpp)
