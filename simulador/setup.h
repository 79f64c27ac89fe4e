#pragma once

#include <optional>
#include <string>

namespace simulador {

// El bloque de configuración de 90 bytes que devuelve la orden "M" si no se da otro.
std::string SetupPorOmision();

// Los bytes de un texto de 180 cifras hexadecimales; nada si no lo es.
std::optional<std::string> SetupDeHex(const std::string& hex);

}  // namespace simulador
