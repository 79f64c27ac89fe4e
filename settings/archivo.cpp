#include "archivo.h"

#include <fstream>

namespace {
constexpr std::size_t kLargoMaximo = 1 << 20;
}

std::optional<std::string> LeerArchivo(const std::string& ruta) {
  std::ifstream archivo(ruta, std::ios::binary);
  std::string texto;
  char bloque[4096];
  while (archivo && texto.size() <= kLargoMaximo) {
    archivo.read(bloque, sizeof bloque);
    texto.append(bloque, static_cast<std::size_t>(archivo.gcount()));
  }
  if (!archivo.eof() || archivo.bad() || texto.size() > kLargoMaximo) return std::nullopt;
  return texto;
}
