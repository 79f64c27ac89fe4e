#pragma once

#include <initializer_list>
#include <string>

// Texto de bytes a partir de sus códigos.
inline std::string Bytes(std::initializer_list<int> codigos) {
  std::string texto;
  for (const int c : codigos) texto += static_cast<char>(c);
  return texto;
}
