# The Windows installer, tarpo-<version>-x64.msi, made beside the cross-built
# tarpo.exe and msi_checks.dll (WindowsBuild.cmake, msi/CMakeLists.txt). wixl
# from msitools packs them as msi/tarpo.wxs describes, with the project's
# version and the publisher named here. The target keeps the file's path and
# the publisher as properties for the installer test.
if(NOT TARGET tarpo_windows)
    return()
endif()
find_program(WIXL wixl REQUIRED)
find_program(MSIINFO msiinfo REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)

set(TARPO_PUBLISHER "${CPACK_PACKAGE_VENDOR}")
set(msi "${TARPO_WINDOWS_DIR}/tarpo-${PROJECT_VERSION}-x64.msi")
set(wxs "${PROJECT_SOURCE_DIR}/msi/tarpo.wxs")
set(include_maximum "${PROJECT_SOURCE_DIR}/msi/include_maximum.cmake")
# wixl takes the files it packs from the folder it runs in. Its output then
# gets the Upgrade table bit that wixl leaves out (msi/include_maximum.cmake),
# and only then the installer's name, so that a failed step leaves no
# installer.
add_custom_command(
    OUTPUT "${msi}"
    COMMAND "${WIXL}" --arch x64 -D "Version=${PROJECT_VERSION}" -D "Manufacturer=${TARPO_PUBLISHER}"
            --output "${msi}.part" "${wxs}"
    COMMAND "${CMAKE_COMMAND}" -D "MSI=${msi}.part" -D "MSIINFO=${MSIINFO}" -D "MSIBUILD=${MSIBUILD}"
            -P "${include_maximum}"
    COMMAND "${CMAKE_COMMAND}" -E rename "${msi}.part" "${msi}"
    WORKING_DIRECTORY "${TARPO_WINDOWS_DIR}"
    DEPENDS "${wxs}" "${include_maximum}" "${TARPO_WINDOWS_EXE}" "${TARPO_WINDOWS_DIR}/msi_checks.dll"
            tarpo_windows
    COMMENT "Making the Windows installer"
    VERBATIM
)
add_custom_target(tarpo_msi ALL DEPENDS "${msi}")
set_target_properties(tarpo_msi PROPERTIES TARPO_MSI_FILE "${msi}"
                                           TARPO_PUBLISHER "${TARPO_PUBLISHER}")
