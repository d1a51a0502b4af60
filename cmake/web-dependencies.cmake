# What the browser edition builds on. libspng and zlib are compiled from third_party/ (Emscripten as Debian
# ships it has no ported libraries and cannot download any); the header-only libraries are staged.
enable_language(C)
include(${CMAKE_CURRENT_LIST_DIR}/staged-headers.cmake)
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
