# lumivar_add_headers(<target> <folder>): installs the headers of a folder
# under include/lumivar/<folder>, keeping the layout the sources use.
function(lumivar_install_headers folder)
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumivar/${folder})
endfunction()

# lumivar_test_suite(<name> <folder> LIBS <libs...>): one GoogleTest program
# from every *_test.cpp of a folder under tests/, registered with CTest.
function(lumivar_test_suite name folder)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*_test.cpp)
  list(APPEND sources ${ARG_SOURCES})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} lumivar_testsupport GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
