# The program folder as operators use it: the program, the "ticket" folder of sample
# letterheads and the operator's guide side by side. The program keeps its settings in the
# folder it runs from and returns there after its file dialog, so everything sits at the top.
install(TARGETS cargador_membrete RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/ticket/ DESTINATION ticket FILES_MATCHING PATTERN "*.txt")

set(CPACK_PACKAGE_NAME CargadorMembrete)
if(WIN32)
  # The guide as a text file that Notepad opens with a double-click: CRLF, UTF-8 with a mark.
  set(guia ${CMAKE_BINARY_DIR}/guia-operador.txt)
  add_custom_command(OUTPUT ${guia}
    COMMAND ${CMAKE_COMMAND} -DENTRADA=${PROJECT_SOURCE_DIR}/docs/guia-operador.md
            -DSALIDA=${guia} -P ${CMAKE_CURRENT_LIST_DIR}/texto_windows.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/guia-operador.md ${CMAKE_CURRENT_LIST_DIR}/texto_windows.cmake)
  add_custom_target(guia_operador ALL DEPENDS ${guia})
  install(FILES ${guia} DESTINATION .)
  set(CPACK_PACKAGE_FILE_NAME "CargadorMembrete-${PROJECT_VERSION}-win64")
  set(CPACK_GENERATOR ZIP)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/docs/guia-operador.md DESTINATION .)
  # Qt comes from the system; the launcher only makes the folder the current directory.
  install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/cargador_membrete.sh DESTINATION .)
  set(CPACK_PACKAGE_FILE_NAME "CargadorMembrete-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
