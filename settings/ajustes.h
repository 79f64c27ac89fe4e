#pragma once

#include <optional>
#include <string>

// The settings store: "Brun_Kqt.ini" in the current directory, located anew on every call.
// Values are byte text; what is stored is the value followed by ".".

// Stored value without its final ".", or `defecto` when the file, section or key is absent
// or the stored text is empty.
std::string LeerIni(const std::string& seccion, const std::string& clave,
                    const std::string& defecto);
std::string LeerIni(const std::string& seccion, const std::string& clave, long defecto);

// Stores `valor` + ".". Never reports failure: an unwritable file loses the write.
void EscribirIni(const std::string& seccion, const std::string& clave, const std::string& valor);
void EscribirIni(const std::string& seccion, const std::string& clave, long valor);

// `texto` (el contenido de un archivo de ajustes) con `valor` guardado como lo guarda EscribirIni.
std::optional<std::string> ConAjuste(const std::string& texto, const std::string& seccion,
                                     const std::string& clave, const std::string& valor);

// Como EscribirIni, pero dice si el archivo quedó con el valor: para avisar al operador.
bool IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                         const std::string& valor);
bool IntentarEscribirIni(const std::string& seccion, const std::string& clave, long valor);
