# `cpack -G DEB` (`make package`): a Debian package of what Install.cmake
# installs, under /usr. Its library dependencies are worked out by
# dpkg-shlibdeps from the binary rather than written here.

set(CPACK_PACKAGE_NAME tarpo)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sliding-tile picture puzzle (Пятнашки с картинками)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The 4x4 sliding-tile puzzle whose fifteen tiles are pieces of a picture. "
    "Pick a picture set, start a new game and slide the tiles into the empty "
    "cell until the picture is whole again. The interface is in Russian.")
set(CPACK_PACKAGE_CONTACT "tarpo developers <tarpo@example.org>")
set(CPACK_PACKAGE_VENDOR "tarpo developers")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tarpo_1.00_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog font the window is laid out for; any font lets it run.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)

include(CPack)
