# Renders the application icon, data/icons/tarpo.svg, at build time: into PNG
# files, each size once, as build/icons/<size>x<size>/tarpo.png, and into the
# Windows icon file of tarpo.exe. The PNGs serve the installed hicolor sizes
# and the icon carried inside the program.

find_program(RSVG_CONVERT rsvg-convert REQUIRED)

# The size the program carries for its window.
set(TARPO_WINDOW_ICON_SIZE 64)

# tarpo_icon_png(<size> <var>): sets <var> to the path of the icon rendered at
# that size.
function(tarpo_icon_png size var)
    set(${var} "${PROJECT_BINARY_DIR}/icons/${size}x${size}/tarpo.png" PARENT_SCOPE)
endfunction()

# tarpo_render_icon(<size> <output>): adds a custom command that renders the
# icon as a <size>x<size> PNG at <output>. A target in the calling directory
# must use the output.
function(tarpo_render_icon size output)
    set(svg "${PROJECT_SOURCE_DIR}/data/icons/tarpo.svg")
    get_filename_component(output_dir "${output}" DIRECTORY)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${output_dir}"
        COMMAND "${RSVG_CONVERT}" --width ${size} --height ${size} --format png
                --output "${output}" "${svg}"
        DEPENDS "${svg}"
        COMMENT "Rendering the ${size}x${size} icon"
        VERBATIM
    )
endfunction()

# tarpo_icon_ico(<output> <size>...): adds a custom command that makes the
# Windows icon file <output> from the icon rendered at each size (beside it,
# under icons/). The last and largest size is stored as PNG inside the file. A
# target in the calling directory must use the output.
function(tarpo_icon_ico output)
    find_program(ICOTOOL icotool REQUIRED)
    get_filename_component(output_dir "${output}" DIRECTORY)
    set(pngs)
    foreach(size ${ARGN})
        tarpo_render_icon(${size} "${output_dir}/icons/tarpo-${size}.png")
        list(APPEND pngs "${output_dir}/icons/tarpo-${size}.png")
    endforeach()
    list(POP_BACK pngs largest)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${ICOTOOL}" --create --output "${output}" ${pngs} "--raw=${largest}"
        DEPENDS ${pngs} "${largest}"
        COMMENT "Making the application icon"
        VERBATIM
    )
endfunction()
