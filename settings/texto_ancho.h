#pragma once

#include <string>

namespace almacen {

// Solo en Windows. Los textos van por el programa en UTF-8; Windows los quiere en UTF-16.
std::wstring Ancho(const std::string& utf8);
// Y al revés: lo que da Windows (rutas, argumentos, registro) pasa al núcleo en UTF-8.
std::string Utf8(const std::wstring& texto);

}  // namespace almacen
