# What `cmake --install` puts under the prefix: the program in games/ (Debian's
# place for games, /usr/games in the package), its desktop entry, its icon in
# the hicolor theme (the SVG and the PNGs rendered from it at build time), its
# AppStream description, its manual page and the licence.

include(GNUInstallDirs)

set(TARPO_INSTALL_GAMESDIR games)

# The program links only system libraries, so the installed binary needs no
# RPATH.
set_target_properties(tarpo PROPERTIES INSTALL_RPATH "")
install(TARGETS tarpo RUNTIME DESTINATION ${TARPO_INSTALL_GAMESDIR})

# The desktop entry starts the program by its full path, because /usr/games is
# not on the PATH of every desktop session. The path is known only at install
# time (`--prefix`, or /usr when cpack installs).
set(desktop_entry "${PROJECT_BINARY_DIR}/install/org.tarpo.Tarpo.desktop")
install(CODE "
    set(TARPO_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${TARPO_INSTALL_GAMESDIR}/tarpo\")
    configure_file(\"${PROJECT_SOURCE_DIR}/data/org.tarpo.Tarpo.desktop.in\"
                   \"${desktop_entry}\" @ONLY)
")
install(FILES "${desktop_entry}" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/data/org.tarpo.Tarpo.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES "${PROJECT_SOURCE_DIR}/data/icons/tarpo.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(tarpo_icon_pngs)
foreach(size IN ITEMS 16 32 48 64 128 256)
    tarpo_icon_png(${size} png)
    if(NOT size EQUAL TARPO_WINDOW_ICON_SIZE)  # already rendered for the program
        tarpo_render_icon(${size} "${png}")
        list(APPEND tarpo_icon_pngs "${png}")
    endif()
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tarpo_icons ALL DEPENDS ${tarpo_icon_pngs})

# The release date of this version, taken from the AppStream file. The manual
# page and the Debian changelog use it too.
file(READ "${PROJECT_SOURCE_DIR}/data/org.tarpo.Tarpo.metainfo.xml" metainfo)
string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
if(NOT metainfo MATCHES "<release version=\"${version_pattern}\" date=\"(([0-9]+)-([0-9]+)-([0-9]+))\"")
    message(FATAL_ERROR "data/org.tarpo.Tarpo.metainfo.xml has no release ${PROJECT_VERSION}")
endif()
set(TARPO_RELEASE_DATE "${CMAKE_MATCH_1}")
# The same date in RFC 5322 form ("Mon, 07 Dec 2026 00:00:00 +0000"). The
# weekday comes from Sakamoto's method.
math(EXPR year "${CMAKE_MATCH_2}")
math(EXPR month "${CMAKE_MATCH_3}")
set(day "${CMAKE_MATCH_4}")
set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
math(EXPR month_index "${month} - 1")
list(GET month_offsets ${month_index} offset)
list(GET month_names ${month_index} month_name)
set(y ${year})
if(month LESS 3)
    math(EXPR y "${year} - 1")
endif()
math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
list(GET weekday_names ${weekday} weekday_name)
set(TARPO_RELEASE_DATE_RFC5322 "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000")

# tarpo_install_gzipped(<input> <destination> <name>): installs <input> as
# <destination>/<name>.gz, compressed as Debian wants it (maximum compression,
# no name or time stamp in the header).
function(tarpo_install_gzipped input destination name)
    set(output "${PROJECT_BINARY_DIR}/install/${name}.gz")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND gzip -9 -n -c "${input}" > "${output}"
        DEPENDS "${input}"
        VERBATIM
    )
    add_custom_target(tarpo_gzip_${name} ALL DEPENDS "${output}")
    install(FILES "${output}" DESTINATION "${destination}")
endfunction()

# The manual page, section 6 (games).
configure_file("${PROJECT_SOURCE_DIR}/data/tarpo.6.in" "${PROJECT_BINARY_DIR}/install/tarpo.6" @ONLY)
tarpo_install_gzipped("${PROJECT_BINARY_DIR}/install/tarpo.6" ${CMAKE_INSTALL_MANDIR}/man6 tarpo.6)
