# SPDX-License-Identifier: BSD-2-Clause
# `cpack -G DEB` in a build tree makes the Debian package: the three programs
# stripped, the desktop entry, the icons, the manual pages and the watch
# service, with the dependencies worked out from the binaries by
# dpkg-shlibdeps.
include(GNUInstallDirs)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "Veltrane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tester for GPS receivers that speak NMEA 0183 on a serial port")
# Debian wants the description's lines within 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A window that shows a GPS receiver's live readout, three yes/no\n"
    "indicators and a log of every recognised sentence, with automatic\n"
    "detection of the port and baud rate; a command-line tool that replays\n"
    "captures, monitors, detects, records and checks a receiver's health;\n"
    "and a receiver simulator on a pseudo-terminal.")
set(CPACK_PACKAGE_CONTACT "Veltrane maintainers <maintainers@veltrane.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin, which no binary links to directly.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELTRANE_WEB_ADDRESS})

# Debian's machine-readable copyright file, with the licence's own text from
# LICENSE, so the two cannot disagree.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^[^\n]*\n\n[^\n]*\n\n" "" licence_terms "${licence}")
string(REGEX REPLACE "\n+$" "" licence_terms "${licence_terms}")
string(REGEX REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")
string(REGEX REPLACE "\n" "\n " licence_terms "${licence_terms}")
set(copyright_file ${CMAKE_BINARY_DIR}/copyright)
file(WRITE ${copyright_file}
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: veltrane\n"
    "Source: ${VELTRANE_WEB_ADDRESS}\n"
    "\n"
    "Files: *\n"
    "Copyright: 2026 the Veltrane developers\n"
    "License: BSD-2-Clause\n"
    " ${licence_terms}\n")

# The changelog of a native package, compressed without a time stamp as
# Debian asks; its newest entry must be this version.
set(changelog ${CMAKE_SOURCE_DIR}/cmake/debian-changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog} ${CMAKE_SOURCE_DIR}/LICENSE)
file(STRINGS ${changelog} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^veltrane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian-changelog: the newest entry is not version ${PROJECT_VERSION}: ${newest}")
endif()
execute_process(COMMAND gzip -9nc INPUT_FILE ${changelog} OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${copyright_file} ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrane)

# `watch` as a service, not enabled: its arguments are the operator's, in a
# file of /etc that an upgrade must not overwrite.
install(FILES ${CMAKE_SOURCE_DIR}/cmake/veltrane-watch.service DESTINATION /lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/veltrane-watch.default DESTINATION /etc/default RENAME veltrane-watch)
file(WRITE ${CMAKE_BINARY_DIR}/conffiles "/etc/default/veltrane-watch\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/conffiles)

include(CPack)
