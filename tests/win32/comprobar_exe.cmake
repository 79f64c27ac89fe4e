# Falla salvo que EXE mida 2 MB como mucho e importe solo DLL que trae todo Windows desde el 7.
cmake_minimum_required(VERSION 3.25)
set(del_sistema
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  setupapi.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll)

file(SIZE ${EXE} tamano)
if(tamano GREATER 2097152)
  message(FATAL_ERROR "${EXE} mide ${tamano} bytes, más de 2 MB")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE volcado RESULT_VARIABLE estado)
if(NOT estado EQUAL 0)
  message(FATAL_ERROR "objdump -p ${EXE} falló")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" nombres "${volcado}")
set(importadas)
foreach(linea IN LISTS nombres)
  string(REPLACE "DLL Name: " "" dll "${linea}")
  string(TOLOWER "${dll}" dll)
  list(APPEND importadas ${dll})
  if(NOT dll IN_LIST del_sistema)
    message(FATAL_ERROR "${EXE} importa ${dll}, que no viene con Windows")
  endif()
endforeach()
list(JOIN importadas " " lista)
message(STATUS "${EXE}: ${tamano} bytes; importa ${lista}")
