# Cross build for 32-bit Windows: the shipping build. It is compiled and linked here, never run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PRAVIK_ARCH i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# What differs by architecture, in one place: the rest of the build reads these.
# Debian's widl of either prefix makes 32-bit type libraries with --win32.
set(PRAVIK_WIDL_NAMES i686-w64-mingw32-widl x86_64-w64-mingw32-widl)
set(PRAVIK_WIDL_TARGET --win32)
# __stdcall exports carry a leading underscore and @N in the import libraries.
set(PRAVIK_STDCALL_DECORATED ON)
set(PRAVIK_NSIS_TARGET x86-unicode)
set(PRAVIK_SETUP_SUFFIX "")
# Only 64-bit Wine is installed here: the 32-bit programs are built, never run.
set(PRAVIK_TESTS_RUN_HERE OFF)
