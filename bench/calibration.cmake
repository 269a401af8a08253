# Refits of every calibration model and pixel <-> geographic conversions.
lumivar_benchmark(calibration_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/calibration_bench.cpp)
