#include "hex.h"

namespace comm {

std::string Hex(std::string_view bytes) {
  static constexpr char kCifras[] = "0123456789ABCDEF";
  std::string texto;
  for (const unsigned char b : bytes) {
    if (!texto.empty()) texto += ' ';
    texto += kCifras[b >> 4];
    texto += kCifras[b & 0xF];
  }
  return texto;
}

}  // namespace comm
