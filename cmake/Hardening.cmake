# The hardening flags Debian builds its packages with (dpkg-buildflags):
# fortified libc calls in optimised builds, a stack protector, and a read-only
# relocation table resolved at start-up (relro with bindnow). They apply to
# native Linux builds only, not the WebAssembly one. The sanitizer build
# leaves out fortification, since its own checks replace it.
if(NOT WIN32 AND NOT EMSCRIPTEN)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
    if(NOT TARPO_SANITIZE)
        add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    endif()
    add_link_options(LINKER:-z,relro,-z,now)
endif()
