# The Qt host's pan step beside the bare control's (where the host is built).
if(LUMIVAR_BUILD_QT)
  lumivar_benchmark(qt_host_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/qt_host_bench.cpp LIBS lumivar_qt)
endif()
