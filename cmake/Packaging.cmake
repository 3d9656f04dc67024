# SPDX-License-Identifier: BSD-2-Clause
# `cpack -G DEB` in a build tree makes the Debian package: the three programs
# stripped, the desktop entry, the icons and the manual pages, with the
# dependencies worked out from the binaries by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "Veltrane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tester for GPS receivers that speak NMEA 0183 on a serial port")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A window that shows a GPS receiver's live readout, three yes/no indicators and a log of\n"
    "every recognised sentence, with automatic detection of the port and baud rate; a\n"
    "command-line tool that replays captures, monitors, detects, records and checks a\n"
    "receiver's health; and a receiver simulator on a pseudo-terminal.")
set(CPACK_PACKAGE_CONTACT "Veltrane maintainers <maintainers@veltrane.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin, which no binary links to directly.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELTRANE_WEB_ADDRESS})
include(CPack)
