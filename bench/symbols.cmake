# Landmark symbols beside Cairo stroking the same cross.
pkg_check_modules(CAIRO QUIET IMPORTED_TARGET cairo)
if(CAIRO_FOUND)
  lumivar_benchmark(symbols_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/symbols_bench.cpp
                    LIBS PkgConfig::CAIRO)
endif()
