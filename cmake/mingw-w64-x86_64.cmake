# Toolchain for cross-building tarpo.exe for 64-bit Windows with mingw-w64 (the
# POSIX thread model of Debian's g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARPO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARPO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARPO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARPO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARPO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link libgcc, libstdc++ and winpthread statically so the program needs no
# MinGW DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
