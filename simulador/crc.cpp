#include "crc.h"

#include <cstdint>

namespace simulador {

namespace {

uint16_t Crc16(const std::string& bytes) {
  uint16_t crc = 0xFFFF;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

}  // namespace

std::string ConControl(std::string cuerpo) {
  const uint16_t crc = Crc16(cuerpo);
  cuerpo += static_cast<char>(crc & 0xFF);
  cuerpo += static_cast<char>(crc >> 8);
  return cuerpo;
}

bool ControlValido(const std::string& trama) {
  if (trama.size() < 3) return false;
  return ConControl(trama.substr(0, trama.size() - 2)) == trama;
}

std::string Rehecha(std::string trama, size_t posicion, const std::string& bytes) {
  trama.replace(posicion, bytes.size(), bytes);
  return ConControl(trama.substr(0, trama.size() - 2));
}

}  // namespace simulador
