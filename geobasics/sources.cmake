# Every .cpp of this folder is part of lumivar_rt.
file(GLOB geobasics_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(lumivar_rt PRIVATE ${geobasics_sources})
# The conversions never rely on errno from sqrt and friends; without it the
# compiler emits the square-root instruction alone. Results are unchanged.
set_source_files_properties(${geobasics_sources} PROPERTIES COMPILE_OPTIONS -fno-math-errno)
