# Landmark captions beside Cairo's text drawing; Cairo serves only this comparison.
pkg_check_modules(CAIRO IMPORTED_TARGET cairo)
if(CAIRO_FOUND)
  lumivar_benchmark(captions_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/captions_bench.cpp
                    LIBS lumivar_platform PkgConfig::CAIRO)
endif()
