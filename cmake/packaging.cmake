# La carpeta del programa tal como la usan los operadores: el programa, la carpeta "ticket" con
# membretes de ejemplo y la guía del operador, lado a lado. El programa guarda sus ajustes en la
# carpeta desde la que corre y vuelve a ella tras el diálogo de archivos: todo va en el primer nivel.
install(TARGETS cargador_membrete RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/ticket/ DESTINATION ticket FILES_MATCHING PATTERN "*.txt")

set(CPACK_PACKAGE_NAME CargadorMembrete)
if(WIN32)
  # La guía como texto que el Bloc de notas abre con doble clic: CRLF, UTF-8 con marca.
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
  # Qt viene del sistema; el lanzador solo hace de la carpeta el directorio actual.
  install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/cargador_membrete.sh DESTINATION .)
  # Los diálogos de Qt en castellano aunque el sistema no tenga las traducciones de Qt.
  if(EXISTS "${CATALOGO_QT}")
    install(FILES ${CATALOGO_QT} DESTINATION .)
  endif()
  set(CPACK_PACKAGE_FILE_NAME "CargadorMembrete-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
