#include "bloque_setup.h"

namespace carga {

namespace {

constexpr std::size_t kLargoBloque = 90;
constexpr std::size_t kLargoRegistro = 13;
constexpr std::size_t kRegistros = 2;

long Byte(const std::string& bloque, std::size_t posicion) {
  return static_cast<unsigned char>(bloque[posicion]);
}

long Numero24(const std::string& bloque, std::size_t posicion) {
  return Byte(bloque, posicion) + 256 * Byte(bloque, posicion + 1) +
         65536 * Byte(bloque, posicion + 2);
}

}  // namespace

std::vector<std::pair<std::string, long>> ValoresSetup(const std::string& bloque) {
  std::vector<std::pair<std::string, long>> valores;
  if (bloque.size() != kLargoBloque) return valores;
  auto guardar = [&valores](long valor) {
    valores.emplace_back(std::to_string(valores.size() + 1), valor);
  };
  for (std::size_t r = 0; r < kRegistros; ++r) {
    std::size_t inicio = kLargoRegistro * r;
    for (std::size_t i = 0; i < 3; ++i) guardar(Byte(bloque, inicio + i));
    for (std::size_t i = 0; i < 3; ++i) guardar(Numero24(bloque, inicio + 3 + 3 * i));
    guardar(Byte(bloque, inicio + 12));
  }
  for (std::size_t p = kLargoRegistro * kRegistros; p < kLargoBloque; ++p) guardar(Byte(bloque, p));
  return valores;
}

}  // namespace carga
