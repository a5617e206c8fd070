# tarpo.exe and the installer's custom action msi_checks.dll (msi/),
# cross-built with mingw-w64 as part of the Linux build, so that their tests
# run with the others. It is built in build-windows/ beside the
# source, where `make windows` builds it too.
option(TARPO_WINDOWS "Cross-build tarpo.exe for Windows" ON)
if(NOT TARPO_WINDOWS)
    return()
endif()

set(TARPO_WINDOWS_DIR "${PROJECT_SOURCE_DIR}/build-windows" CACHE PATH
    "Where tarpo.exe is cross-built")
set(TARPO_WINDOWS_EXE "${TARPO_WINDOWS_DIR}/tarpo.exe")

include(ExternalProject)
ExternalProject_Add(tarpo_windows
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${TARPO_WINDOWS_DIR}"
    PREFIX "${PROJECT_BINARY_DIR}/tarpo_windows"
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
               -DCMAKE_BUILD_TYPE=Release
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${TARPO_WINDOWS_EXE}" "${TARPO_WINDOWS_DIR}/msi_checks.dll"
    INSTALL_COMMAND ""
)
