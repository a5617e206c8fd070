# What `cmake --install` puts under the prefix: the program, its desktop entry,
# its icon in the hicolor theme (the SVG and PNGs rendered from it at build
# time) and its AppStream description.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/Icons.cmake)

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
    set(png "${PROJECT_BINARY_DIR}/icons/${size}x${size}/tarpo.png")
    tarpo_render_icon(${size} "${png}")
    list(APPEND tarpo_icon_pngs "${png}")
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tarpo_icons ALL DEPENDS ${tarpo_icon_pngs})
