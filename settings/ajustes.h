#pragma once

#include <optional>
#include <string>

// El almacén de ajustes: "Brun_Kqt.ini" de la carpeta actual, buscado de nuevo en cada llamada.
// Los valores son texto de 8 bits; se guarda el valor seguido de ".". Un archivo guardado en
// UTF-16 o UTF-8 con marca se lee y se vuelve a escribir igual (ver codificacion.h).

// El valor guardado sin su "." final, o `defecto` si falta el archivo, la sección o la clave, o
// si lo guardado está vacío.
std::string LeerIni(const std::string& seccion, const std::string& clave,
                    const std::string& defecto);
std::string LeerIni(const std::string& seccion, const std::string& clave, long defecto);

// Guarda `valor` + ".". No avisa de fallos: en un archivo que no se puede escribir se pierde.
void EscribirIni(const std::string& seccion, const std::string& clave, const std::string& valor);
void EscribirIni(const std::string& seccion, const std::string& clave, long valor);

// `texto`, un archivo de ajustes de 8 bits, con `valor` guardado como lo guarda EscribirIni.
std::optional<std::string> ConAjuste(const std::string& texto, const std::string& seccion,
                                     const std::string& clave, const std::string& valor);

// Como EscribirIni, pero dice si el archivo quedó con el valor: para avisar al operador. Un
// valor igual al guardado da true sin tocar el archivo.
bool IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                         const std::string& valor);
bool IntentarEscribirIni(const std::string& seccion, const std::string& clave, long valor);
