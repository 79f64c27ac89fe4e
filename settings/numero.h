#pragma once

#include <optional>
#include <string>

namespace almacen {

// Un entero decimal: signo optativo y solo dígitos, dentro del rango de long. Cualquier otra
// cosa (texto vacío, blancos, decimales, letras) no da número.
std::optional<long> EnteroDe(const std::string& texto);

}  // namespace almacen
