# El programa de Windows y el núcleo portable compilados para Windows de 64 bits con el mingw-w64
# de Debian (hilos posix); las pruebas corren con wine. Se usa con el preset "mingw" o con
# scripts/test-windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc y winpthread enlazadas dentro: los ejecutables corren sin DLL al lado.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian deja el cargador de 64 bits fuera del PATH.
find_program(MEMBRETE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MEMBRETE_WINE64 NAMES wine64)
if(MEMBRETE_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MEMBRETE_WINE64})
endif()
