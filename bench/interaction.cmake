# Mouse interaction and the atlas: a pan step that repaints a full-HD map,
# registering 200 calibration files and zooming among them.
lumivar_benchmark(interaction_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/interaction_bench.cpp)
