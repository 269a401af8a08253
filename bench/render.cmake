# A full paint of the map control with graticule and markers, and a
# generated map, beside a memcpy of one frame.
lumivar_benchmark(bench_render SOURCES ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
