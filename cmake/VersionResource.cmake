# The Windows version record of tarpo.exe, filled in from the project version.

# tarpo_configure_version_resource(<output>): writes win32/tarpo.rc.in to
# <output> with the version filled in. The numeric FILEVERSION needs plain
# numbers, so the minor "00" of "1.00" becomes 0 there. The strings keep the
# version as the program shows it.
function(tarpo_configure_version_resource output)
    math(EXPR TARPO_RC_MAJOR "${PROJECT_VERSION_MAJOR} + 0")
    math(EXPR TARPO_RC_MINOR "${PROJECT_VERSION_MINOR} + 0")
    set(TARPO_VERSION "${PROJECT_VERSION}")
    configure_file("${PROJECT_SOURCE_DIR}/win32/tarpo.rc.in" "${output}" @ONLY)
endfunction()
