# Run after wixl (cmake/WindowsInstaller.cmake):
#   cmake -D MSI=<installer> -D MSIINFO=<msiinfo> -D MSIBUILD=<msibuild> -P include_maximum.cmake
# wixl 0.101 accepts IncludeMaximum on an UpgradeVersion but does not write
# msidbUpgradeAttributesVersionMaxInclusive into the Upgrade table, so a new
# build of the installed version would install beside it instead of replacing
# it. This script sets that bit, through the table's text form, in every row
# that removes what it finds. Rows that only detect stay as they are.
set(max_inclusive 512)  # msidbUpgradeAttributesVersionMaxInclusive
set(only_detect 2)      # msidbUpgradeAttributesOnlyDetect

execute_process(COMMAND "${MSIINFO}" export "${MSI}" Upgrade
                OUTPUT_VARIABLE table COMMAND_ERROR_IS_FATAL ANY)
# One row per line, columns separated by tabs: UpgradeCode, VersionMin,
# VersionMax, Language, Attributes, Remove, ActionProperty. The first three
# lines give the column names, their types and the key.
string(REGEX REPLACE "\r?\n" ";" lines "${table}")
set(rows "")
set(number 0)
foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(number GREATER 3 AND line MATCHES "^([^\t]*\t[^\t]*\t[^\t]*\t[^\t]*\t)([0-9]+)(\t.*)$")
        math(EXPR detect_only "${CMAKE_MATCH_2} & ${only_detect}")
        if(NOT detect_only)
            math(EXPR attributes "${CMAKE_MATCH_2} | ${max_inclusive}")
            set(line "${CMAKE_MATCH_1}${attributes}${CMAKE_MATCH_3}")
        endif()
    endif()
    if(line)
        string(APPEND rows "${line}\r\n")
    endif()
endforeach()

get_filename_component(folder "${MSI}" DIRECTORY)
set(idt "${folder}/Upgrade.idt")
file(WRITE "${idt}" "${rows}")
execute_process(COMMAND "${MSIBUILD}" "${MSI}" -i "${idt}" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${idt}")
