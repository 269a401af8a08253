# Database speed beside an SQLite R*Tree table holding the same boxes.
find_package(SQLite3 QUIET)
if(SQLite3_FOUND AND TARGET lumivar_testsupport)  # temporary directories of the test helpers
  lumivar_benchmark(geodb_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/geodb_bench.cpp
                    LIBS SQLite::SQLite3 lumivar_testsupport)
endif()
