# Map image loading with its calibration and the image layer at several
# magnifications.
lumivar_benchmark(mapimage_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/mapimage_bench.cpp)
