# The Windows build (scripts/windows.sh, cross-compiled with cmake/windows-x64.cmake): SDL 1.2,
# SDL_mixer and GLEW come from the prefix that script builds. The Windows Imaging Component
# decodes the pictures, so SDL_image is not used there.
find_package(SDL REQUIRED)
find_package(SDL_mixer REQUIRED)
# FindGLEW looks for MSVC's .lib names only; GLEW's import library from mingw is found here.
find_library(GLEW_SHARED_LIBRARY_RELEASE NAMES glew32.dll glew32)
find_package(GLEW REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

# FindSDL's SDL_LIBRARY brings SDL's start-up module to every program; the library itself
# needs only SDL.dll's import library.
find_library(ORVANE_SDL_IMPORT_LIBRARY SDL)
find_library(ORVANE_SDLMAIN_LIBRARY SDLmain)
set(SDL_LIBRARY ${ORVANE_SDL_IMPORT_LIBRARY})

# Every program is a GUI executable whose entry is SDL's start-up module, which writes the
# program's standard output and error to stdout.txt and stderr.txt beside it. A folder that
# turns CMAKE_WIN32_EXECUTABLE off (the tests) gets console programs with a main of their own.
set(CMAKE_WIN32_EXECUTABLE ON)
set(ORVANE_PROGRAM_ENTRY
    $<BUILD_INTERFACE:$<$<BOOL:$<TARGET_PROPERTY:WIN32_EXECUTABLE>>:mingw32;${ORVANE_SDLMAIN_LIBRARY}>>)
set(ORVANE_SYSTEM_LIBRARIES windowscodecs ole32 uuid)
# windows.h, which OpenGL's header includes there, would otherwise rename calls such as
# PlaySound and hide std::min and std::max behind its macros.
set(ORVANE_SYSTEM_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX)
