# Cross-builds tarpo.exe and the installer's custom action msi_checks.dll
# (msi/) with mingw-w64 as part of the Linux build, so that their tests run
# with the others. The cross build has its own tree inside this one, windows/.
# `make windows` makes the same files alone in build-windows/.
option(TARPO_WINDOWS "Cross-build tarpo.exe for Windows" ON)

# Cross-builds this project for 64-bit Windows in `dir` as the external project
# `name`: the targets listed after TARGETS (all if none), with the cache
# settings after CMAKE_ARGS, declaring the files after BYPRODUCTS. Every build
# of this tree runs the cross build's own build tool, which tracks every file
# the cross build reads and remakes only what changed, so a folder added to
# the cross build needs no list here. When nothing changed this takes well
# under a second and tarpo.exe keeps its time stamp, so nothing made from it
# is made again.
function(tarpo_add_windows_build name dir)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "TARGETS;CMAKE_ARGS;BYPRODUCTS")
    set(build_command "${CMAKE_COMMAND}" --build <BINARY_DIR>)
    if(arg_TARGETS)
        list(APPEND build_command --target ${arg_TARGETS})
    endif()
    include(ExternalProject)
    ExternalProject_Add(${name}
        SOURCE_DIR "${PROJECT_SOURCE_DIR}"
        BINARY_DIR "${dir}"
        PREFIX "${PROJECT_BINARY_DIR}/${name}"
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
                   -DCMAKE_BUILD_TYPE=Release ${arg_CMAKE_ARGS}
        BUILD_COMMAND ${build_command}
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${arg_BYPRODUCTS}
        INSTALL_COMMAND ""
    )
endfunction()

if(NOT TARPO_WINDOWS)
    return()
endif()

# Where the cross build puts tarpo.exe and the installer made from it
# (WindowsInstaller.cmake). The tests take the paths from here.
set(TARPO_WINDOWS_DIR "${PROJECT_BINARY_DIR}/windows")
set(TARPO_WINDOWS_EXE "${TARPO_WINDOWS_DIR}/tarpo.exe")

tarpo_add_windows_build(tarpo_windows "${TARPO_WINDOWS_DIR}"
    BYPRODUCTS "${TARPO_WINDOWS_EXE}" "${TARPO_WINDOWS_DIR}/msi_checks.dll"
               "${TARPO_WINDOWS_DIR}/msaa_probe.exe")
