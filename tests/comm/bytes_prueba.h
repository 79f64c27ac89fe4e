#pragma once

#include <initializer_list>
#include <string>

#include "crc16.h"

// Texto de bytes a partir de sus códigos.
inline std::string Bytes(std::initializer_list<int> codigos) {
  std::string texto;
  for (const int c : codigos) texto += static_cast<char>(c);
  return texto;
}

// La trama con sus bytes de control.
inline std::string ConCrc(const std::string& cuerpo) {
  return cuerpo + comm::crc16(cuerpo);
}
