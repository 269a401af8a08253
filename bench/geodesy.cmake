# Geodesy: our conversions side by side with GeographicLib and PROJ on the
# same points. Built only where both peers are installed (not in 32-bit builds).
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(GEOGRAPHICLIB QUIET IMPORTED_TARGET geographiclib)
endif()
find_package(PROJ CONFIG QUIET)
if(TARGET PkgConfig::GEOGRAPHICLIB AND TARGET PROJ::proj)
  lumivar_benchmark(geodesy_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/geodesy_bench.cpp
                    LIBS PkgConfig::GEOGRAPHICLIB PROJ::proj)
else()
  message(STATUS "geodesy_bench: GeographicLib or PROJ not found, not built")
endif()
