# Toolchain file for 64-bit Windows with mingw-w64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/windows-x64.cmake \
#       -DORVANE_WINDOWS_PREFIX=DEPS
# where DEPS holds SDL 1.2, SDL_mixer and GLEW for Windows (scripts/windows-deps.sh prints it).
# A game built against an installed Windows engine adds that install prefix to
# CMAKE_PREFIX_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# The compilers of the POSIX thread model: only their C++ library has std::thread and std::mutex,
# which GoogleTest needs.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(ORVANE_WINDOWS_PREFIX "" CACHE PATH "SDL 1.2, SDL_mixer and GLEW built for Windows")
# The libraries, and an engine installed for Windows named by CMAKE_PREFIX_PATH, are found there
# and nowhere on the build machine itself.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ORVANE_WINDOWS_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs need no DLLs of the compiler's own beside them (the thread library's included): every
# library that has a static archive is linked in; import libraries still name their DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
