# lumivar_install_headers(<folder> [INTERNAL <file names...>]): installs the
# public headers of a folder under include/lumivar/<folder>, keeping the
# layout the sources use. What a user never includes stays in the source
# tree: every *_internal.h, and the headers named after INTERNAL (kernels,
# layouts and helpers that only the module's .cpp files include). A name
# listed there that does not exist is an error, so the list cannot go stale.
function(lumivar_install_headers folder)
  cmake_parse_arguments(ARG "" "" "INTERNAL" ${ARGN})
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(FILTER headers EXCLUDE REGEX "_internal\\.h$")
  foreach(name ${ARG_INTERNAL})
    set(path ${PROJECT_SOURCE_DIR}/${folder}/${name})
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "lumivar_install_headers: ${folder}/${name} does not exist")
    endif()
    list(REMOVE_ITEM headers ${path})
  endforeach()
  if(headers)
    install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumivar/${folder})
  endif()
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
