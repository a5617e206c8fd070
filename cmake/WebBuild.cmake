# Builds the web site (web/), with the game session compiled to WebAssembly by
# emscripten, as part of the Linux build in a tree of its own, so that its
# tests run with the others. The site is written to TARPO_WEB_SITE.
option(TARPO_WEB "Build the web site with emscripten" ON)
if(NOT TARPO_WEB)
    return()
endif()

# emscripten's CMake toolchain file, the one `emcmake` passes to cmake.
find_program(EM_CONFIG em-config REQUIRED)
execute_process(COMMAND "${EM_CONFIG}" EMSCRIPTEN_ROOT
                OUTPUT_VARIABLE emscripten_root OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(emscripten_toolchain "${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")
# esbuild joins and minifies the page's script and style sheet: found here,
# so that a missing one stops the configure rather than the web build.
find_program(ESBUILD esbuild REQUIRED)
set(TARPO_WEB_SITE "${PROJECT_BINARY_DIR}/web" CACHE PATH "Where the web site is written")
set(web_tree "${PROJECT_BINARY_DIR}/web-tree")

include(ExternalProject)
ExternalProject_Add(tarpo_web
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${web_tree}"
    PREFIX "${PROJECT_BINARY_DIR}/tarpo_web"
    CMAKE_ARGS "-DCMAKE_TOOLCHAIN_FILE=${emscripten_toolchain}" -DCMAKE_BUILD_TYPE=MinSizeRel
               "-DTARPO_SITE_DIR=${TARPO_WEB_SITE}" "-DESBUILD=${ESBUILD}"
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${TARPO_WEB_SITE}/index.html" "${TARPO_WEB_SITE}/sw.js"
    INSTALL_COMMAND ""
)
