# Fails unless README holds the text of EXAMPLE (a source file), so that the
# example a reader copies is the one the install test compiles.
# Run as: cmake -DREADME=... -DEXAMPLE=... -P check_readme_example.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${README} readme)
file(READ ${EXAMPLE} example)
string(FIND "${readme}" "${example}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${README} does not show ${EXAMPLE} as it is; copy the file into it")
endif()
