# The header-only libraries for the Windows build, taken from the build machine's Debian packages. Only
# their own headers are staged into the build folder: /usr/include itself never joins a Windows include
# path, where its glibc headers would shadow mingw-w64's.
set(GRANVEL_STAGED_INCLUDE ${CMAKE_BINARY_DIR}/staged-include)
foreach(header /usr/include/SimpleIni.h /usr/include/CLI /usr/include/toml++)
  if(NOT EXISTS ${header})
    message(FATAL_ERROR "${header} is missing: run scripts/setup.sh")
  endif()
  file(COPY ${header} DESTINATION ${GRANVEL_STAGED_INCLUDE})
endforeach()
set(SIMPLEINI_INCLUDE_DIR ${GRANVEL_STAGED_INCLUDE})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${GRANVEL_STAGED_INCLUDE})

# GoogleTest, built from Debian's sources for this target.
if(GRANVEL_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)  # GTest::gtest
endif()
