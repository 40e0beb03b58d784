# The cross toolchain for TAMVERO_TRIPLE, set by the per-target toolchain file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAMVERO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMVERO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMVERO_TRIPLE}-windres)
set(TAMVERO_WIDL ${TAMVERO_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${TAMVERO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Wine's Windows headers and PE libraries (widl finds stdole2.tlb there); the PE folder
# of the 64-bit Wine serves both targets' type libraries.
set(TAMVERO_WINE_INCLUDE /usr/include/wine/wine/windows)
set(TAMVERO_WINE_PE_LIBS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine)
