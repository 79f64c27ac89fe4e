#include "archivo.h"

#include <fstream>

#include "nombres.h"

namespace almacen {

namespace {
constexpr std::size_t kLargoMaximo = 1 << 20;
constexpr std::string_view kExtension = ".tmp";
}  // namespace

std::optional<std::string> LeerArchivo(const std::string& ruta) {
  std::ifstream archivo(RutaNativa(ruta), std::ios::binary);
  std::string texto;
  char bloque[4096];
  while (archivo && texto.size() <= kLargoMaximo) {
    archivo.read(bloque, sizeof bloque);
    texto.append(bloque, static_cast<std::size_t>(archivo.gcount()));
  }
  if (!archivo.eof() || archivo.bad() || texto.size() > kLargoMaximo) return std::nullopt;
  return texto;
}

std::string NombreTemporal(const std::string& archivo, unsigned long proceso) {
  return archivo + "." + std::to_string(proceso) + std::string(kExtension);
}

std::optional<unsigned long> ProcesoDeTemporal(std::string_view nombre, std::string_view archivo) {
  const std::size_t inicio = archivo.size() + 1;
  // Sin mayúsculas: el temporal lleva el nombre que tenía el archivo al escribirlo.
  if (nombre.size() <= inicio + kExtension.size() ||
      !IgualesSinMayusculas(nombre.substr(0, archivo.size()), archivo) ||
      nombre[archivo.size()] != '.' ||
      nombre.substr(nombre.size() - kExtension.size()) != kExtension) {
    return std::nullopt;
  }
  const std::string_view cifras = nombre.substr(inicio, nombre.size() - kExtension.size() - inicio);
  if (cifras.size() > 9 || cifras.front() == '0') return std::nullopt;
  unsigned long proceso = 0;
  for (char cifra : cifras) {
    if (cifra < '0' || cifra > '9') return std::nullopt;
    proceso = proceso * 10 + static_cast<unsigned long>(cifra - '0');
  }
  return proceso;
}

}  // namespace almacen
