# The header-only libraries (SimpleIni, CLI11, toml++) for a build whose compiler must not see /usr/include
# (the Windows and browser builds), taken from the build machine's Debian packages: only their own headers
# are staged into the build folder, since /usr/include itself would put glibc's headers before the target's
# own C library (mingw-w64's, Emscripten's).
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
