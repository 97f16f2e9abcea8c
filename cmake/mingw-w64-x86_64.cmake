# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# variant, package g++-mingw-w64-x86-64-posix).
#
# The programs are linked statically (libgcc, libstdc++, winpthread), so the
# .exe files run on a bare Windows or under wine without any DLL of the
# toolchain beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CALCTOPO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CALCTOPO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CALCTOPO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CALCTOPO_MINGW_PREFIX}-windres)

# Headers and libraries come from the toolchain's root only; build tools
# (wine included) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${CALCTOPO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
