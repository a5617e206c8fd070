# Run after wixl (cmake/WindowsInstaller.cmake):
#   cmake -D MSI=<installer> -D MSIINFO=<msiinfo> -D MSIBUILD=<msibuild> -P include_maximum.cmake
# wixl 0.101 accepts IncludeMaximum on an UpgradeVersion but writes no
# msidbUpgradeAttributesVersionMaxInclusive into the Upgrade table, so a build
# of the version that is installed would not replace it: it would install
# beside it. This sets that bit in every row that removes what it finds (the
# rows that only detect stay as they are), through the table's text form.
set(max_inclusive 512)  # msidbUpgradeAttributesVersionMaxInclusive
set(only_detect 2)      # msidbUpgradeAttributesOnlyDetect

execute_process(COMMAND "${MSIINFO}" export "${MSI}" Upgrade
                OUTPUT_VARIABLE table COMMAND_ERROR_IS_FATAL ANY)
# One row a line, the columns apart by tabs: UpgradeCode, VersionMin,
# VersionMax, Language, Attributes, Remove, ActionProperty. The first three
# lines name the columns, their types and the key.
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
