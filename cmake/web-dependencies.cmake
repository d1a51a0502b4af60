# What the browser edition builds on. libspng and zlib are compiled from third_party/ (Emscripten as Debian
# ships it has no ported libraries and cannot download any); the header-only libraries are staged from the
# build machine's Debian packages, since /usr/include never joins Emscripten's include path, where its glibc
# headers would shadow Emscripten's own C library.
enable_language(C)
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
# The project files' parser, which the command line's "build" reaches through the core.
include_directories(SYSTEM ${GRANVEL_STAGED_INCLUDE})

# libspng with the zlib it inflates and deflates with, as one library. Their own code is not ours to warn
# about.
file(GLOB granvel_zlib_sources ${CMAKE_SOURCE_DIR}/third_party/zlib/*.c)
add_library(granvel_spng STATIC ${CMAKE_SOURCE_DIR}/third_party/libspng/spng.c ${granvel_zlib_sources})
target_include_directories(granvel_spng SYSTEM PUBLIC ${CMAKE_SOURCE_DIR}/third_party/libspng
                                                      ${CMAKE_SOURCE_DIR}/third_party/zlib)
target_compile_definitions(granvel_spng PUBLIC SPNG_STATIC PRIVATE HAVE_UNISTD_H)
target_compile_options(granvel_spng PRIVATE -w)
