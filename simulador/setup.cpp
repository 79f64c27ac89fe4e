#include "setup.h"

#include <cctype>
#include <iterator>

namespace simulador {

namespace {

constexpr size_t kLargoSetup = 90;

// Dos grupos de 13 bytes (tres bytes, tres números de 24 bits con el byte bajo primero, un byte)
// y 64 bytes sueltos. Valores verosímiles de un indicador: capacidades, divisiones, un factor de
// calibración, la velocidad 96 (9600 baudios) y el filtro 0.
// clang-format off
constexpr unsigned char kSetup[kLargoSetup] = {
    // Grupo 0: 10000, 30000 y 123456.
    2, 5, 1, 0x10, 0x27, 0x00, 0x30, 0x75, 0x00, 0x40, 0xE2, 0x01, 3,
    // Grupo 1: 6000, 15000 y 987654.
    0, 1, 1, 0x70, 0x17, 0x00, 0x98, 0x3A, 0x00, 0x06, 0x12, 0x0F, 0,
    // Bytes sueltos.
    1, 96, 0, 2, 0, 1, 1, 0, 10, 20, 0, 0, 5, 0, 0, 1,
    0, 0, 3, 0, 255, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0,
    7, 0, 0, 128, 0, 0, 1, 0, 0, 0, 0, 0, 9, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 200};
// clang-format on

int Cifra(char c) {
  if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
  return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
}

}  // namespace

std::string SetupPorOmision() {
  return std::string(std::begin(kSetup), std::end(kSetup));
}

std::optional<std::string> SetupDeHex(const std::string& hex) {
  if (hex.size() != 2 * kLargoSetup) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int alta = Cifra(hex[i]);
    const int baja = Cifra(hex[i + 1]);
    if (alta < 0 || baja < 0) return std::nullopt;
    bytes += static_cast<char>(alta << 4 | baja);
  }
  return bytes;
}

}  // namespace simulador
