# The web site (web/): the game session compiled to WebAssembly with
# emscripten, built as part of the Linux build in a tree of its own, so that
# its tests run with the others. The site is written to TARPO_WEB_SITE.
option(TARPO_WEB "Build the web site with emscripten" ON)
if(NOT TARPO_WEB)
    return()
endif()

find_program(EMCMAKE emcmake REQUIRED)
set(TARPO_WEB_SITE "${PROJECT_BINARY_DIR}/web" CACHE PATH "Where the web site is written")
set(web_tree "${PROJECT_BINARY_DIR}/web-tree")

include(ExternalProject)
ExternalProject_Add(tarpo_web
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${web_tree}"
    PREFIX "${PROJECT_BINARY_DIR}/tarpo_web"
    CMAKE_COMMAND "${EMCMAKE}" "${CMAKE_COMMAND}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=MinSizeRel "-DTARPO_SITE_DIR=${TARPO_WEB_SITE}"
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${TARPO_WEB_SITE}/index.html" "${TARPO_WEB_SITE}/tarpo.wasm"
    INSTALL_COMMAND ""
)
