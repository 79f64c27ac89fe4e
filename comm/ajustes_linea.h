#pragma once

#include <optional>
#include <string>

namespace comm {

// Ajustes de la línea tal como los escribe el control del puerto: "9600,n,8,1" es velocidad,
// paridad, bits de datos y bits de parada.
struct AjustesLinea {
  long baudios = 9600;
  char paridad = 'n';  // n, e, o, m o s (ninguna, par, impar, marca, espacio)
  int bitsDatos = 8;   // 5 a 8
  int bitsParada = 1;  // 1 o 2
};

// Los ajustes que dice `texto`, o nada si alguna de sus cuatro partes no vale.
std::optional<AjustesLinea> LeerAjustesLinea(const std::string& texto);

}  // namespace comm
