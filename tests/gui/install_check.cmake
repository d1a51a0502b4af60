cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix and checks that the desktop entry, its icon and the .zkp type land
# where a desktop finds them. Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
foreach(installed bin/granvel bin/granvel-cli share/applications/granvel.desktop
                  share/icons/hicolor/64x64/apps/granvel.png share/mime/packages/granvel-zkp.xml)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/granvel.desktop" entry)
# Where the tool is there, the install made the type known: the database has a file for it.
find_program(update_mime update-mime-database)
if(update_mime AND NOT EXISTS "${PREFIX}/share/mime/application/x-zkp.xml")
  message(FATAL_ERROR "the .zkp type was not added to the MIME database")
endif()
foreach(line "Type=Application" "Exec=granvel %F" "Icon=granvel" "MimeType=application/x-zkp;image/bmp;text/plain;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "granvel.desktop lacks \"${line}\"")
  endif()
endforeach()
