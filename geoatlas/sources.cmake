# Sources of this module inside lumivar_rt.
target_sources(lumivar_rt PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/module.cpp
)
