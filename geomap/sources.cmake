# Every .cpp of this folder is part of lumivar_rt.
file(GLOB geomap_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(lumivar_rt PRIVATE ${geomap_sources})
