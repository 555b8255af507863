# Cross-builds the Windows programs with Debian's mingw-w64 (posix threading
# variant, as the dependencies are built). ZOLT_WIN_PREFIX names the folder
# that scripts/windows-deps installed expat and wxWidgets into.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZOLT_WIN_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOLT_WIN_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOLT_WIN_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOLT_WIN_HOST}-windres)

set(ZOLT_WIN_PREFIX "$ENV{ZOLT_WIN_PREFIX}" CACHE PATH "Prefix of the Windows dependencies")
# Without the wx prefix among the roots, FindwxWidgets finds no wx/version.h.
set(CMAKE_FIND_ROOT_PATH /usr/${ZOLT_WIN_HOST} ${ZOLT_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(wxWidgets_CONFIG_EXECUTABLE ${ZOLT_WIN_PREFIX}/bin/wx-config CACHE FILEPATH "")
# Programs that need only the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
