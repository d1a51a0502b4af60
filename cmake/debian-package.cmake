# The Linux downloads: the manual pages, bash completion and documents that `cmake --install` installs
# beside the programs, and the Debian package granvel_<version>_amd64.deb that `cpack` makes of all of it in
# the build folder (scripts/package-deb.sh).

# The manual pages carry the version and the date of its CHANGELOG.md section ("unreleased" without one), and
# go gzipped without a name or time in the header (gzip -n), so that two builds give the same bytes.
file(STRINGS ${CMAKE_SOURCE_DIR}/CHANGELOG.md version_heading
     REGEX "^## ${PROJECT_VERSION} \\([0-9-]+\\)$")
set(GRANVEL_DATE unreleased)
if(version_heading MATCHES "\\(([0-9-]+)\\)")
  set(GRANVEL_DATE ${CMAKE_MATCH_1})
endif()
set(packaging_dir ${CMAKE_BINARY_DIR}/packaging)
set(packaging_files "")
foreach(page granvel granvel-cli)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.1 ${packaging_dir}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${packaging_dir}/${page}.1.gz
                     COMMAND gzip -9nkf ${packaging_dir}/${page}.1
                     DEPENDS ${packaging_dir}/${page}.1)
  list(APPEND packaging_files ${packaging_dir}/${page}.1.gz)
endforeach()

# Debian's changelog, made from CHANGELOG.md.
set(GRANVEL_MAINTAINER "GRANVEL developers <granvel@example.org>" CACHE STRING
    "The package's maintainer: a name and an address")
add_custom_command(OUTPUT ${packaging_dir}/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${CMAKE_SOURCE_DIR}/CHANGELOG.md
                           -DMAINTAINER=${GRANVEL_MAINTAINER} -DOUTPUT=${packaging_dir}/changelog
                           -P ${CMAKE_SOURCE_DIR}/cmake/debian-changelog.cmake
                   COMMAND gzip -9nkf ${packaging_dir}/changelog
                   DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/debian-changelog.cmake
                   VERBATIM)
list(APPEND packaging_files ${packaging_dir}/changelog.gz)
add_custom_target(granvel_packaging_files ALL DEPENDS ${packaging_files})

install(FILES ${packaging_dir}/granvel-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/linux/granvel-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME granvel-cli)
install(FILES packaging/linux/copyright ${packaging_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/granvel)
if(GRANVEL_GUI)
  install(FILES ${packaging_dir}/granvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
# What lintian reports of the package and the package explains, each with its reason.
install(FILES packaging/linux/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME granvel COMPONENT package EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME granvel)
set(CPACK_PACKAGE_VENDOR "GRANVEL developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
# The files of the ordinary install and lintian's overrides; not the install's own update of the desktop's
# databases, which the package leaves to the triggers of shared-mime-info and desktop-file-utils.
set(CPACK_INSTALL_CMAKE_PROJECTS ${CMAKE_BINARY_DIR} granvel Unspecified / ${CMAKE_BINARY_DIR} granvel package /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GRANVEL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window on Wayland, and the package dialog's Japanese title.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-noto-cjk")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[convert PC files to and from a handheld's .zkp resource files
GRANVEL converts between ordinary PC files and the .zkp resource files of a
handheld's BASIC environment: BMP and PNG pictures become palettes,
characters, sprites, graphic pages or screens with their tile sets; program,
screen and string-memory texts become programs, screen maps and MEM$; any
other file is carried in graphic pages; and several of them become one
package. A .zkp file is decoded back into pictures and texts.
.
The package holds the desktop program granvel (Qt 6), the command-line tool
granvel-cli with its bash completion, their manual pages, and the .zkp file
type, so that file managers offer GRANVEL for .zkp files.]])
include(CPack)
