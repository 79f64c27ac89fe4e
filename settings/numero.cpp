#include "numero.h"

#include <cerrno>
#include <cstdlib>

namespace almacen {

std::optional<long> EnteroDe(const std::string& texto) {
  std::size_t digitos = (!texto.empty() && (texto[0] == '-' || texto[0] == '+')) ? 1 : 0;
  if (digitos == texto.size()) return std::nullopt;
  for (std::size_t i = digitos; i < texto.size(); ++i) {
    if (texto[i] < '0' || texto[i] > '9') return std::nullopt;
  }
  errno = 0;
  long valor = std::strtol(texto.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return valor;
}

}  // namespace almacen
