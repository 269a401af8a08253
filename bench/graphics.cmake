# Hot paths of the map display: block copies, stretching, lines, JPEG decoding,
# each beside the bare operation that bounds it.
lumivar_benchmark(graphics_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/graphics_bench.cpp
                  LIBS lumivar_platform JPEG::JPEG)
