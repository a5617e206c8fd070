# `cpack -G DEB` (`make package`) makes a Debian package of what Install.cmake
# installs, under /usr. dpkg-shlibdeps works out its library dependencies from
# the binary, so they are not listed here. The deb_package test checks the
# package with lintian.

# Who is responsible for the package: the Maintainer field, the changelog entry
# and the copyright file's contact. A distribution packaging tarpo sets its
# own.
set(TARPO_MAINTAINER "tarpo maintainers <maintainers@users.noreply.c-seed-03166474.example>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")
set(TARPO_DEB_REVISION 1 CACHE STRING "Debian revision of the package")

set(CPACK_PACKAGE_NAME tarpo)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sliding-tile picture puzzle (Пятнашки с картинками)")
# Keep lines to 80 characters, since Debian's tools show them in a terminal.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The 4x4 sliding-tile puzzle whose fifteen tiles are pieces of a picture.\n"
    "Pick a picture set (a skull or a dentist), start a new game and slide the\n"
    "tiles into the empty cell until the picture is whole again; one more click\n"
    "then shows the complete picture without frames.\n"
    "\n"
    "The interface is in Russian. The pictures are carried inside the program,\n"
    "which reads and writes no files.")
set(CPACK_PACKAGE_CONTACT "${TARPO_MAINTAINER}")
set(CPACK_PACKAGE_VENDOR "tarpo developers")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tarpo_1.00-1_amd64.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE "${TARPO_DEB_REVISION}")
# A game goes in section games, with the program in /usr/games (Install.cmake).
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Recommend the dialog font the window is laid out for (it runs with any
# font), and Qt's Wayland platform plugin, without which Qt runs through
# XWayland on Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")

# The package's documentation in /usr/share/doc/tarpo, as Debian wants it: the
# copyright file in the machine-readable format with the licence text from
# LICENSE, and the changelog. Also the lintian overrides. Install.cmake
# provides the release date.
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" license)
if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
    message(FATAL_ERROR "LICENSE has no copyright line")
endif()
set(TARPO_COPYRIGHT "${CMAKE_MATCH_1}")
# Continuation lines start with a blank, and an empty line is written " .".
string(REPLACE "\n\n" "\n.\n" license_body "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " TARPO_LICENSE_TEXT " ${license_body}")
configure_file("${PROJECT_SOURCE_DIR}/data/debian/copyright.in"
               "${PROJECT_BINARY_DIR}/install/copyright" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/install/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(TARPO_DEB_VERSION "${PROJECT_VERSION}-${TARPO_DEB_REVISION}")
configure_file("${PROJECT_SOURCE_DIR}/data/debian/changelog.in"
               "${PROJECT_BINARY_DIR}/install/changelog.Debian" @ONLY)
tarpo_install_gzipped("${PROJECT_BINARY_DIR}/install/changelog.Debian" ${CMAKE_INSTALL_DOCDIR}
                      changelog.Debian)
install(FILES "${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarpo)

include(CPack)

include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
