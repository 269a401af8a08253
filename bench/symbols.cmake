# Landmark symbols beside Cairo stroking the same cross, and the landmark
# file reader beside the element scanner alone on the same file.
pkg_check_modules(CAIRO QUIET IMPORTED_TARGET cairo)
if(CAIRO_FOUND)
  lumivar_benchmark(symbols_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/symbols_bench.cpp
                    LIBS PkgConfig::CAIRO)
endif()
