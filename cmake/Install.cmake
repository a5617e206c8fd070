# What `cmake --install` puts under the prefix: the program, its desktop entry,
# its icon in the hicolor theme (the SVG and PNGs rendered from it at build
# time) and its AppStream description.

include(GNUInstallDirs)

# The program links only system libraries: no RPATH in the installed binary.
set_target_properties(tarpo PROPERTIES INSTALL_RPATH "")
install(TARGETS tarpo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES "${PROJECT_SOURCE_DIR}/data/org.tarpo.Tarpo.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/data/org.tarpo.Tarpo.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES "${PROJECT_SOURCE_DIR}/data/icons/tarpo.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(tarpo_icon_pngs)
foreach(size IN ITEMS 16 32 48 64 128 256)
    tarpo_icon_png(${size} png)
    if(NOT size EQUAL TARPO_WINDOW_ICON_SIZE)  # rendered already, for the program
        tarpo_render_icon(${size} "${png}")
        list(APPEND tarpo_icon_pngs "${png}")
    endif()
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tarpo_icons ALL DEPENDS ${tarpo_icon_pngs})
