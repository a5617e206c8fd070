# The hardening Debian builds its packages with (dpkg-buildflags): fortified
# libc calls where the compiler optimises, a stack protector, and a read-only
# relocation table resolved at start-up (relro with bindnow). Native Linux
# builds only, not the WebAssembly one; the sanitizer build leaves
# fortification out, which its own checks replace.
if(NOT WIN32 AND NOT EMSCRIPTEN)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
    if(NOT TARPO_SANITIZE)
        add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    endif()
    add_link_options(LINKER:-z,relro,-z,now)
endif()
