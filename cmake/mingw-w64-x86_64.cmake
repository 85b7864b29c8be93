# Cross-compiles Pelmo for 64-bit Windows with mingw-w64 (posix thread model, so
# std::thread and friends work without extra libraries).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELMO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELMO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything links statically: a missing runtime DLL makes a GUI program exit
# without a word, so the executables must run with nothing beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
