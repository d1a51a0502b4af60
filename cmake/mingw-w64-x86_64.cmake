# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model, for std::thread and
# std::mutex). Programs are linked statically, so granvel-cli.exe needs only the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GRANVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GRANVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRANVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GRANVEL_MINGW_TRIPLE}-windres)

# Headers and libraries come from the mingw-w64 tree only, never from the build machine's /usr/include.
set(CMAKE_FIND_ROOT_PATH /usr/${GRANVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, in a Wine prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
