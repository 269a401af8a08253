# The landmark layer painting a million-landmark list and a landmark file
# loaded into the control, each beside its floor.
lumivar_benchmark(landmarks_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/landmarks_bench.cpp)
