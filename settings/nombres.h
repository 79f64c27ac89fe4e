#pragma once

#include <algorithm>
#include <string_view>

namespace almacen {

// Los nombres se comparan sin importar mayúsculas ASCII; los demás bytes deben ser iguales. A
// propósito sin configuración regional: un nombre no debe coincidir distinto en otra máquina.
inline bool IgualesSinMayusculas(std::string_view a, std::string_view b) {
  auto minuscula = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return minuscula(x) == minuscula(y);
         });
}

}  // namespace almacen
