cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix and checks that the desktop entry and its icon land where a desktop
# finds them. Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(installed bin/granvel bin/granvel-cli share/applications/granvel.desktop
                  share/icons/hicolor/64x64/apps/granvel.png)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/granvel.desktop" entry)
foreach(line "Type=Application" "Exec=granvel %F" "Icon=granvel")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "granvel.desktop lacks \"${line}\"")
  endif()
endforeach()
