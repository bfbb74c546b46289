# Cross build for 64-bit Windows with MinGW-w64, run under Wine.
#
# The -posix compilers use the POSIX thread model, which GoogleTest and
# std::thread need. Everything is linked statically, so each .exe imports
# only the DLLs that ship with Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime; address-space randomisation (with 64-bit entropy) and
# non-executable data for every executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase,--nxcompat,--high-entropy-va")

# ctest runs the test programs under Wine, in a private prefix inside the
# build tree.
get_filename_component(TARNWICK_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/../scripts" ABSOLUTE)
set(TARNWICK_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(CMAKE_CROSSCOMPILING_EMULATOR "${TARNWICK_SCRIPTS}/wine-run.sh;${TARNWICK_WINEPREFIX}")
