# The header-only libraries for the Windows build.
include(${CMAKE_CURRENT_LIST_DIR}/staged-headers.cmake)

# GoogleTest, built from Debian's sources for this target.
if(GRANVEL_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)  # GTest::gtest
endif()
