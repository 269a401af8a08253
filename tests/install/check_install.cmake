# Installs the build into a fresh prefix and checks what a user gets:
#  - no internal header (*_internal.h) is installed;
#  - every header an installed header includes is installed too;
#  - for the modules in CHECKED_MODULES, the umbrella header reaches every
#    installed header of its module (anything else would be internal);
#  - a consumer project finds the package, includes every umbrella header
#    and links and runs against the installed libraries.
# Run as: cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=...
#   -DCHECKED_MODULES=a,b -DGENERATOR=... -DCXX=... [-DTOOLCHAIN=...]
#   [-DLAUNCHER=...] [-DEXTRA_FLAGS=...] -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "failed: ${command}\n${out}")
  endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(inc ${prefix}/include/lumivar)
file(GLOB_RECURSE installed RELATIVE ${inc} ${inc}/*.h)
set(internal ${installed})
list(FILTER internal INCLUDE REGEX "_internal\\.h$")
if(internal)
  message(FATAL_ERROR "internal headers installed: ${internal}")
endif()

# Headers reached from a header through its #include "..." lines; each of
# them must be installed.
function(reach header result)
  set(seen "")
  set(queue ${header})
  while(queue)
    list(POP_FRONT queue h)
    if(h IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${h})
    file(STRINGS ${inc}/${h} lines REGEX "^#include \"")
    foreach(line ${lines})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      if(NOT EXISTS ${inc}/${included})
        message(FATAL_ERROR "${h} includes ${included}, which is not installed")
      endif()
      list(APPEND queue ${included})
    endforeach()
  endwhile()
  set(${result} ${seen} PARENT_SCOPE)
endfunction()

set(umbrella_platform platform/platform.h)
set(umbrella_support/brontal support/brontal/brontal.h)
set(umbrella_support/ostrine support/ostrine/ostrine.h)
set(umbrella_geobasics geobasics/geobasics.h)
set(umbrella_geodb geodb/geodb.h)
set(umbrella_geomap geomap/geomap.h)
set(umbrella_geoatlas geoatlas/geoatlas.h)
set(umbrella_qt qt/lumivar_qt.h)
foreach(h ${installed})
  reach(${h} ignored)
endforeach()
string(REPLACE "," ";" modules "${CHECKED_MODULES}")
foreach(module ${modules})
  reach(${umbrella_${module}} reached)
  foreach(h ${installed})
    get_filename_component(folder ${h} DIRECTORY)
    if(folder STREQUAL module AND NOT h IN_LIST reached)
      message(FATAL_ERROR "${h} is installed, but ${umbrella_${module}} does not reach it: "
                          "include it there if it is public, else keep it out of the install")
    endif()
  endforeach()
endforeach()

set(options -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX}
            -DCMAKE_BUILD_TYPE=Debug)
if(TOOLCHAIN)
  list(APPEND options -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
if(LAUNCHER)
  list(APPEND options -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
if(EXTRA_FLAGS)
  list(APPEND options -DCMAKE_CXX_FLAGS=${EXTRA_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS})
endif()
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer ${options})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer)
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "installed: ${prefix}; consumer ok")
