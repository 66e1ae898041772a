# Cross build for 64-bit Windows: the architecture whose programs run the tests under Wine here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PRAVIK_ARCH x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# What differs by architecture, in one place: the rest of the build reads these.
set(PRAVIK_WIDL_NAMES x86_64-w64-mingw32-widl)
set(PRAVIK_WIDL_TARGET --win64)
# No leading underscore on exported names.
set(PRAVIK_STDCALL_DECORATED OFF)
set(PRAVIK_NSIS_TARGET amd64-unicode)
set(PRAVIK_SETUP_SUFFIX "-x64")
# Wine runs the 64-bit programs here, so this build has the Windows tests.
set(PRAVIK_TESTS_RUN_HERE ON)
