# The program folder as operators use it: the program, the "ticket" folder of sample
# letterheads and the operator's guide side by side. The program keeps its settings in the
# folder it runs from and returns there after its file dialog, so everything sits at the top.
install(TARGETS cargador_membrete RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/ticket/ DESTINATION ticket FILES_MATCHING PATTERN "*.txt")
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia-operador.md DESTINATION .)
if(NOT WIN32)
  # Qt comes from the system; the launcher only makes the folder the current directory.
  install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/cargador_membrete.sh DESTINATION .)
endif()

set(CPACK_PACKAGE_NAME CargadorMembrete)
set(CPACK_PACKAGE_FILE_NAME "CargadorMembrete-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_GENERATOR TGZ)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
