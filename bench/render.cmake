# A full paint of the map control with graticule and markers, and a
# generated map, beside a memcpy of one frame.
lumivar_benchmark(render_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
